-- Subgroups move to the table the touch screens read (PRODUTO_GRUPO_SUBGRP,
-- PROGS_ columns), keeping their codes; groups get a tile picture and can be
-- left off the touch screens; a product says whether it has a composition.
create table PRODUTO_GRUPO_SUBGRP (
    CODPRODUTOGRUPOSUBGRP integer not null primary key,
    CODPRODUTOGRUPO       integer not null references PRODUTO_GRUPO,
    PROGS_DESCRICAO       varchar(60) not null,
    PROGS_COR             varchar(15),
    PROGS_ORDEM           integer default 0
);
create generator GEN_PRODUTO_GRUPO_SUBGRP;
alter table PRODUTO add CODPRODUTOGRUPOSUBGRP integer references PRODUTO_GRUPO_SUBGRP;
alter table PRODUTO add PRO_COMPOSTO char(1) default 'N';
alter table PRODUTO_GRUPO add PROG_IMG varchar(20);
alter table PRODUTO_GRUPO add PROG_DESATIVAR_TOUCH char(1) default 'N';
alter table PRODUTO_GRUPO alter PROG_COR type varchar(15);

-- Columns the counter documents and sale orders carry for their screens and prints.
alter table DAV add PECF_CPFCNPJ varchar(18);
alter table PREVENDA add PECF_CPFCNPJ varchar(18);
alter table PEDECF_ITEM add CODPAFPRODUTO integer;
alter table PEDECF_ITEM add PECFI_DESCRICAO varchar(150);
alter table PEDECF_ITEM add PECFI_OBS varchar(200);
alter table PEDVENDA add PEDV_ACRE_VLR numeric(18,4) default 0;
alter table PEDVENDA add PEDV_CONTATO varchar(60);
create table PEDVENDA_FECHAMENTO (
    CODPEDVENDAFECHAMENTO integer not null primary key,
    CODPEDVENDA           integer not null references PEDVENDA,
    CODMOEDA              integer references MOEDA,
    PEDF_VLR              numeric(18,4) default 0 not null,
    PEDF_TROCO            numeric(18,4) default 0 not null
);
create generator GEN_PEDVENDA_FECHAMENTO;
commit;

insert into PRODUTO_GRUPO_SUBGRP (CODPRODUTOGRUPOSUBGRP, CODPRODUTOGRUPO, PROGS_DESCRICAO, PROGS_COR, PROGS_ORDEM)
    select CODPRODUTOSUBGRUPO, CODPRODUTOGRUPO, PROS_DESCRICAO, PROS_COR, PROS_ORDEM from PRODUTO_SUBGRUPO
    where CODPRODUTOGRUPO is not null;
update PRODUTO p set CODPRODUTOGRUPOSUBGRP = CODPRODUTOSUBGRUPO
    where exists (select 1 from PRODUTO_GRUPO_SUBGRP s where s.CODPRODUTOGRUPOSUBGRP = p.CODPRODUTOSUBGRUPO);
update PRODUTO p set PRO_COMPOSTO = iif(exists (select 1 from PRODUTO_COMPOSICAO c where c.CODPRODUTO = p.CODPRODUTO), 'S', 'N');

set term ^ ;
execute block as
declare variable restricao varchar(63);
declare variable proximo bigint;
begin
  proximo = gen_id(GEN_PRODUTO_SUBGRUPO, 0);
  execute statement 'alter sequence GEN_PRODUTO_GRUPO_SUBGRP restart with ' || proximo;
  for select trim(rc.RDB$CONSTRAINT_NAME) from RDB$RELATION_CONSTRAINTS rc
      join RDB$INDEX_SEGMENTS s on s.RDB$INDEX_NAME = rc.RDB$INDEX_NAME
      where rc.RDB$RELATION_NAME = 'PRODUTO' and rc.RDB$CONSTRAINT_TYPE = 'FOREIGN KEY'
        and s.RDB$FIELD_NAME = 'CODPRODUTOSUBGRUPO'
      into :restricao do
    execute statement 'alter table PRODUTO drop constraint ' || restricao;
end^

-- The composition flag follows the composition rows, whoever writes them.
create trigger TRG_PRODUTO_COMPOSTO for PRODUTO_COMPOSICAO after insert or update or delete position 0
as
begin
  if (inserting or updating) then
    update PRODUTO set PRO_COMPOSTO = 'S' where CODPRODUTO = new.CODPRODUTO and PRO_COMPOSTO is distinct from 'S';
  if (deleting or updating) then
    update PRODUTO p set PRO_COMPOSTO = iif(exists (select 1 from PRODUTO_COMPOSICAO c where c.CODPRODUTO = p.CODPRODUTO), 'S', 'N')
      where p.CODPRODUTO = old.CODPRODUTO;
end^
set term ; ^
commit;

alter table PRODUTO drop CODPRODUTOSUBGRUPO;
commit;
drop table PRODUTO_SUBGRUPO;
drop generator GEN_PRODUTO_SUBGRUPO;
