-- Tariff nomenclator database (entity NCM), read only for Aduplan.
create table ncm ([001] text not null, [002] text not null, [003] text not null, [004] text, [010] text, [012] text, [019] text, [020] text, [059] text, primary key ([001], [002], [003]));
create table sufidos (sim text not null, sufijo text not null, detalle text);
create index sufidos_sim on sufidos (sim);
