-- Demo declaration data (fictitious).
insert into catalogo (idcatalogo, descripcion) values ('DEMO', 'Catalogo de demostracion');
