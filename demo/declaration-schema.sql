-- Declaration system database (entity INTERNOS): the tables Aduplan reads and writes.
create table catalogo (idcatalogo text not null primary key, descripcion text);
create table catarticulos (idcatalogo text not null, idarticulo text not null, descripcion text, idpais text, cantidad real, preciounitario real, ncm text, lapi text, sufijos text, idunidad text, estadistica text, valorrelacionestadistica real, estadomerc text, deresp text, valorderesp real, primary key (idcatalogo, idarticulo));
create table caratula (interno text not null primary key, fechaalta timestamp);
create table subitems (idsubitem integer primary key, idarticulo text, idcatalogo text, descripcion text, interno text not null, ncm text, idunidad text, cantidad real, preciounitario real, idpais text, kgneto real, fob real, estadomerc text, estadistica text, valorrelacionestadistica real, sufijos text, lapi text, valorderesp real, kgbruto real, biendeuso text, deresp text);
create index subitems_interno on subitems (interno);
create table facturas (interno text not null, nrofactura text, fecha timestamp, importe real);
create index facturas_interno on facturas (interno);
