-- Catalog of the process tests: catalog CAT1, and another catalog that must not be read.
insert into catalogo (idcatalogo, descripcion) values ('CAT1', 'Catalogo de prueba');
insert into catalogo (idcatalogo, descripcion) values ('OTRO', 'Otro catalogo');
insert into catarticulos (idcatalogo, idarticulo, ncm, lapi, sufijos, idunidad, estadistica, estadomerc, deresp, preciounitario) values ('CAT1', 'A-OK', '8482.10.10.000B', NULL, 'MA01-', '07', '07', '1', 'KG', 2.5);
insert into catarticulos (idcatalogo, idarticulo, ncm, lapi, sufijos, idunidad, estadistica, estadomerc, deresp, preciounitario) values ('CAT1', 'A-POS', '9999.99.99.999Z', '', 'SIN SUFIJOS', '07', '07', '2', NULL, 1);
insert into catarticulos (idcatalogo, idarticulo, ncm, lapi, sufijos, idunidad, estadistica, estadomerc, deresp, preciounitario) values ('CAT1', 'A-SUF', '8482.10.10.000B', ' N ', 'MA09-', '07', '07', '1', '', 3);
insert into catarticulos (idcatalogo, idarticulo, ncm, lapi, sufijos, idunidad, estadistica, estadomerc, deresp, preciounitario) values ('CAT1', 'A-TWICE', '7318.15.00.200D', NULL, '', '01', '01', '3', '', 1.5);
insert into catarticulos (idcatalogo, idarticulo, ncm, lapi, sufijos, idunidad, estadistica, estadomerc, deresp, preciounitario) values ('CAT1', 'A-OTHER', '3926.90.90.990E', '   ', 'SIN SUFIJOS', '07', '05', '', '', 1);
insert into catarticulos (idcatalogo, idarticulo, ncm, lapi, sufijos, idunidad, estadistica, estadomerc, deresp, preciounitario) values ('CAT1', 'A-NULLS', '7318.15.00.200D', NULL, NULL, NULL, '07', NULL, NULL, NULL);
insert into catarticulos (idcatalogo, idarticulo, ncm, lapi, sufijos, idunidad, estadistica, estadomerc, deresp, preciounitario) values ('OTRO', 'NEW-1', '8482.10.10.000B', 'S', 'MA01-', '07', '07', '1', '', 1);
-- Articles of the invoice the process command reads (import/invoice-fixed-columns.doc).
insert into catarticulos (idcatalogo, idarticulo, ncm, lapi, sufijos, estadistica, estadomerc, deresp) values ('CAT1', 'AB-100', '8482.10.10.000B', NULL, 'MA01-', '01', '1', '');
insert into catarticulos (idcatalogo, idarticulo, ncm, lapi, sufijos, estadistica, estadomerc, deresp) values ('CAT1', 'HS-200', '9999.99.99.999Z', 'N', '', '02', '1', '');
