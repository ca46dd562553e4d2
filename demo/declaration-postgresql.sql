-- On PostgreSQL the item key is numbered by a sequence (SQLite numbers an integer primary key itself).
create sequence subitems_idsubitem_seq owned by subitems.idsubitem;
alter table subitems alter column idsubitem set default nextval('subitems_idsubitem_seq');
