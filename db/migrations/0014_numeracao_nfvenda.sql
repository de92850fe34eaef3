-- SER_SEQ holds the number the next invoice of a series takes, so a series
-- starts at 1. Series that never numbered an invoice move from 0 to 1.
alter table SERIE alter SER_SEQ set default 1;
commit;
update SERIE s set SER_SEQ = 1
 where s.SER_SEQ < 1 and not exists (select 1 from NFVENDA n where n.CODSERIE = s.CODSERIE);
