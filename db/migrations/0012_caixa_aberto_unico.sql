-- At most one open cash register per database: two terminals opening at the
-- same moment cannot both succeed. A unique index on an expression that is
-- null for every closed opening (nulls never collide in a unique index).
-- Openings left open twice by earlier versions are closed first, keeping the
-- newest (the one the terminals have been using for the business date).
update CAIXA_ABERTURA c set c.CXA_STATUS = 'FECHADO', c.CXA_DT_FECHAMENTO = coalesce(c.CXA_DT_FECHAMENTO, current_timestamp)
where c.CXA_STATUS = 'ABERTO'
  and exists (select 1 from CAIXA_ABERTURA n where n.CXA_STATUS = 'ABERTO' and n.CODCAIXAABERTURA > c.CODCAIXAABERTURA);

create unique index UNQ_CAIXA_ABERTURA_ABERTO on CAIXA_ABERTURA
    computed by (case when CXA_STATUS = 'ABERTO' then 1 end);
