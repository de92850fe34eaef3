-- Countries with their central-bank codes (NF-e cPais); shops add the ones they need.
create table PAIS (
    CODPAIS   integer not null primary key,  -- the central bank's code
    PAI_NOME  varchar(60) not null unique
);
commit;
insert into PAIS values (1058, 'BRASIL');
insert into PAIS values (639, 'ARGENTINA');
insert into PAIS values (230, 'ALEMANHA');
insert into PAIS values (973, 'BOLIVIA');
insert into PAIS values (1490, 'CANADA');
insert into PAIS values (1589, 'CHILE');
insert into PAIS values (1600, 'CHINA');
insert into PAIS values (1694, 'COLOMBIA');
insert into PAIS values (2453, 'ESPANHA');
insert into PAIS values (2496, 'ESTADOS UNIDOS');
insert into PAIS values (2755, 'FRANCA');
insert into PAIS values (3867, 'ITALIA');
insert into PAIS values (3999, 'JAPAO');
insert into PAIS values (4936, 'MEXICO');
insert into PAIS values (5860, 'PARAGUAI');
insert into PAIS values (5894, 'PERU');
insert into PAIS values (6076, 'PORTUGAL');
insert into PAIS values (6289, 'REINO UNIDO');
insert into PAIS values (8451, 'URUGUAI');
insert into PAIS values (8508, 'VENEZUELA');
