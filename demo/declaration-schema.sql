-- Declaration system database (entity INTERNOS): the tables Aduplan reads and writes.
create table catalogo (idcatalogo text not null primary key, descripcion text);
create table catarticulos (idcatalogo text not null, idarticulo text not null, descripcion text, idpais text, cantidad double precision, preciounitario double precision, ncm text, lapi text, sufijos text, idunidad text, estadistica text, valorrelacionestadistica double precision, estadomerc text, deresp text, valorderesp double precision, primary key (idcatalogo, idarticulo));
create table caratula (interno text not null primary key, fechaalta timestamp);
create table subitems (idsubitem integer primary key, idarticulo text, idcatalogo text, descripcion text, interno text not null, ncm text, idunidad text, cantidad double precision, preciounitario double precision, idpais text, kgneto double precision, fob double precision, estadomerc text, estadistica text, valorrelacionestadistica double precision, sufijos text, lapi text, valorderesp double precision, kgbruto double precision, biendeuso text, deresp text);
create index subitems_interno on subitems (interno);
create table facturas (interno text not null, nrofactura text, fecha timestamp, importe double precision);
create index facturas_interno on facturas (interno);
