-- Demo work data: the country table and the origin relations for the demonstration home.
-- Fictitious but plausible: the codes follow the three-digit form of the declaration system's
-- country table, but they are only for the demo.
--
-- PAIS: the countries an operator can choose. VIETNAM is here on purpose without a relation
-- in ORG: the first sample invoice names it, and the import asks the operator to relate it.
insert into PAIS (id, descripcion) values ('200', 'ARGENTINA');
insert into PAIS (id, descripcion) values ('202', 'BOLIVIA');
insert into PAIS (id, descripcion) values ('203', 'BRASIL');
insert into PAIS (id, descripcion) values ('204', 'CANADA');
insert into PAIS (id, descripcion) values ('205', 'COLOMBIA');
insert into PAIS (id, descripcion) values ('208', 'CHILE');
insert into PAIS (id, descripcion) values ('210', 'ECUADOR');
insert into PAIS (id, descripcion) values ('212', 'ESTADOS UNIDOS');
insert into PAIS (id, descripcion) values ('218', 'MEXICO');
insert into PAIS (id, descripcion) values ('221', 'PARAGUAY');
insert into PAIS (id, descripcion) values ('222', 'PERU');
insert into PAIS (id, descripcion) values ('225', 'URUGUAY');
insert into PAIS (id, descripcion) values ('226', 'VENEZUELA');
insert into PAIS (id, descripcion) values ('309', 'COREA DEL SUR');
insert into PAIS (id, descripcion) values ('310', 'CHINA');
insert into PAIS (id, descripcion) values ('312', 'FILIPINAS');
insert into PAIS (id, descripcion) values ('313', 'TAIWAN');
insert into PAIS (id, descripcion) values ('315', 'INDIA');
insert into PAIS (id, descripcion) values ('316', 'INDONESIA');
insert into PAIS (id, descripcion) values ('319', 'ISRAEL');
insert into PAIS (id, descripcion) values ('320', 'JAPON');
insert into PAIS (id, descripcion) values ('326', 'MALASIA');
insert into PAIS (id, descripcion) values ('333', 'SINGAPUR');
insert into PAIS (id, descripcion) values ('335', 'TAILANDIA');
insert into PAIS (id, descripcion) values ('337', 'VIETNAM');
insert into PAIS (id, descripcion) values ('341', 'HONG KONG');
insert into PAIS (id, descripcion) values ('404', 'AUSTRIA');
insert into PAIS (id, descripcion) values ('405', 'BELGICA');
insert into PAIS (id, descripcion) values ('409', 'DINAMARCA');
insert into PAIS (id, descripcion) values ('410', 'ESPAÑA');
insert into PAIS (id, descripcion) values ('411', 'FINLANDIA');
insert into PAIS (id, descripcion) values ('412', 'FRANCIA');
insert into PAIS (id, descripcion) values ('417', 'ITALIA');
insert into PAIS (id, descripcion) values ('423', 'NORUEGA');
insert into PAIS (id, descripcion) values ('424', 'PAISES BAJOS');
insert into PAIS (id, descripcion) values ('425', 'POLONIA');
insert into PAIS (id, descripcion) values ('426', 'PORTUGAL');
insert into PAIS (id, descripcion) values ('427', 'REINO UNIDO');
insert into PAIS (id, descripcion) values ('429', 'SUECIA');
insert into PAIS (id, descripcion) values ('430', 'SUIZA');
insert into PAIS (id, descripcion) values ('436', 'TURQUIA');
insert into PAIS (id, descripcion) values ('438', 'ALEMANIA');
insert into PAIS (id, descripcion) values ('444', 'REPUBLICA CHECA');
-- ORG: the country of origin as the suppliers' invoices write it, with the country code.
-- "US" also stands for an invoice line that names no origin.
insert into ORG (PAI, ORI) values ('US', '212');
insert into ORG (PAI, ORI) values ('USA', '212');
insert into ORG (PAI, ORI) values ('U.S.A.', '212');
insert into ORG (PAI, ORI) values ('UNITED STATES', '212');
insert into ORG (PAI, ORI) values ('CANADA', '204');
insert into ORG (PAI, ORI) values ('MEXICO', '218');
insert into ORG (PAI, ORI) values ('BRAZIL', '203');
insert into ORG (PAI, ORI) values ('ARGENTINA', '200');
insert into ORG (PAI, ORI) values ('CHILE', '208');
insert into ORG (PAI, ORI) values ('JAPAN', '320');
insert into ORG (PAI, ORI) values ('CHINA', '310');
insert into ORG (PAI, ORI) values ('P.R. CHINA', '310');
insert into ORG (PAI, ORI) values ('PRC', '310');
insert into ORG (PAI, ORI) values ('HONG KONG', '341');
insert into ORG (PAI, ORI) values ('KOREA', '309');
insert into ORG (PAI, ORI) values ('SOUTH KOREA', '309');
insert into ORG (PAI, ORI) values ('REPUBLIC OF KOREA', '309');
insert into ORG (PAI, ORI) values ('TAIWAN', '313');
insert into ORG (PAI, ORI) values ('INDIA', '315');
insert into ORG (PAI, ORI) values ('INDONESIA', '316');
insert into ORG (PAI, ORI) values ('MALAYSIA', '326');
insert into ORG (PAI, ORI) values ('THAILAND', '335');
insert into ORG (PAI, ORI) values ('PHILIPPINES', '312');
insert into ORG (PAI, ORI) values ('SINGAPORE', '333');
insert into ORG (PAI, ORI) values ('ISRAEL', '319');
insert into ORG (PAI, ORI) values ('GERMANY', '438');
insert into ORG (PAI, ORI) values ('ITALY', '417');
insert into ORG (PAI, ORI) values ('FRANCE', '412');
insert into ORG (PAI, ORI) values ('SPAIN', '410');
insert into ORG (PAI, ORI) values ('UNITED KINGDOM', '427');
insert into ORG (PAI, ORI) values ('UK', '427');
insert into ORG (PAI, ORI) values ('SWEDEN', '429');
insert into ORG (PAI, ORI) values ('SWITZERLAND', '430');
insert into ORG (PAI, ORI) values ('AUSTRIA', '404');
insert into ORG (PAI, ORI) values ('NETHERLANDS', '424');
insert into ORG (PAI, ORI) values ('BELGIUM', '405');
insert into ORG (PAI, ORI) values ('POLAND', '425');
insert into ORG (PAI, ORI) values ('CZECH REPUBLIC', '444');
insert into ORG (PAI, ORI) values ('TURKEY', '436');

-- One interno for each demo invoice, waiting for its document (fictitious customs files).
insert or ignore into INTN (INTNRO, INTDSC) values ('1001', 'Northfield NIS-24-0318');
insert or ignore into INTN (INTNRO, INTDSC) values ('1002', 'Brightwater BEC-7741');
insert or ignore into INTN (INTNRO, INTDSC) values ('1003', 'Northfield NIS-24-0402');
insert or ignore into INTN (INTNRO, INTDSC) values ('1004', 'Brightwater BEC-7802');
