-- Nomenclator of the process tests.
insert into ncm ([001], [002], [003], [004], [010], [012], [019], [020], [059]) values ('8482.10.10', '000', 'B', '', 'RODAMIENTOS DE BOLAS', '07', '', '', '*');
insert into ncm ([001], [002], [003], [004], [010], [012], [019], [020], [059]) values ('7318.15.00', '200', 'D', '', 'TORNILLOS', '01', '', '', NULL);
insert into ncm ([001], [002], [003], [004], [010], [012], [019], [020], [059]) values ('3926.90.90', '990', 'E', '', 'MANUFACTURAS DE PLASTICO', '05', '', '', 'X');
insert into sufidos (sim, sufijo, detalle) values ('8482.10.10.000', 'MA01', 'MARCA A');
insert into sufidos (sim, sufijo, detalle) values ('8482.10.10.000', 'MA02', 'MARCA B');
