-- Demo work data (fictitious).
insert into PAIS (id, descripcion) values ('212', 'ESTADOS UNIDOS');
insert into ORG (PAI, ORI) values ('US', '212');
