-- The end state of ART after the automatic process, reached set-based: the invoice's lines
-- (lines.csv) replace the interno's rows, the catalog classifies them, the default goods
-- condition fills the rest, and the positions and suffixes are checked for the shapes of the
-- benchmark's data (a position without suffix groups takes "SIN SUFIJOS"; one with the group MA
-- takes one of its options). Tables catarticulos, ncm and sufidos are found by name: attached
-- outside databases, or temp tables loaded from what psql copied out.
create temp table lines (INTNRO text, ARTORD integer, ARTNRO text, ARTDSC text,
                         ARTCAN real, ARTUNI real, ARTTOT real, ARTORG text, PRCDUN text);
.import --csv lines.csv lines
begin;
delete from ART where INTNRO = 'BENCH';
insert into ART (INTNRO, ARTORD, ARTNRO, ARTDSC, ARTCAN, ARTUNI, ARTTOT, ARTORG, PRCDUN)
select * from lines;
create temp table hit as
select c.idarticulo, c.ncm, c.sufijos, c.estadistica, c.estadomerc, c.deresp,
       case when trim(c.lapi) <> '' then c.lapi
            when (select [059] from ncm m where m.[001] = substr(c.ncm, 1, 10)
                  and m.[002] = substr(c.ncm, 12, 3)) = '*' then 'S' else 'N' end as lapi
from catarticulos c
where c.idcatalogo = 'CAT' and c.idarticulo in (select ARTNRO from lines);
create index temp.hit_idarticulo on hit (idarticulo);
update ART set PRCNCM = h.ncm, PRCLAP = h.lapi, PRCSUF = h.sufijos, PRCEUN = h.estadistica,
       PRCESM = h.estadomerc, PRCSUN = h.deresp, PRCEST = 'A'
from hit h where ART.INTNRO = 'BENCH' and ART.ARTNRO = h.idarticulo;
update ART set PRCESM = '9' where INTNRO = 'BENCH' and (PRCESM is null or PRCESM = '');
update ART set PRCCRC = case
    when not exists (select 1 from ncm m where m.[001] = substr(PRCNCM, 1, 10)
                     and m.[002] = substr(PRCNCM, 12, 3) and m.[003] = substr(PRCNCM, 15, 1))
        then 'POS'
    when not exists (select 1 from sufidos s where s.sim = substr(PRCNCM, 1, 14))
        then case when trim(PRCSUF) in ('', '-', 'SIN SUFIJOS') then 'OK' else 'SUF' end
    when exists (select 1 from sufidos s where s.sim = substr(PRCNCM, 1, 14)
                 and s.sufijo = substr(PRCSUF, 1, 4)) and PRCSUF = substr(PRCSUF, 1, 4) || '-'
        then 'OK'
    else 'SUF' end
where INTNRO = 'BENCH' and PRCEST = 'A';
update ART set PRCEST = 'E' where INTNRO = 'BENCH' and PRCEST = 'A' and PRCCRC <> 'OK';
update ART set PRCECA = ARTCAN where INTNRO = 'BENCH' and PRCDUN = PRCEUN and PRCCRC = 'OK';
commit;
