-- Twenty tables and two prepaid tab cards.
set term ^ ;
execute block as
declare variable n integer = 1;
begin
  while (n <= 20) do
  begin
    update or insert into RES_CONTROLE (CODCONTROLE, CON_STATUS, CON_COBRAR_SERVICO, CON_SALDO)
      values (:n, 'LIVRE', 'S', 0) matching (CODCONTROLE);
    n = n + 1;
  end
end^
set term ; ^
update or insert into RES_CONTROLE (CODCONTROLE, CON_STATUS, CON_COBRAR_SERVICO, CON_SALDO, CON_EAN)
  values (1001, 'LIVRE', 'N', 50, '20000000100136') matching (CODCONTROLE);
update or insert into RES_CONTROLE (CODCONTROLE, CON_STATUS, CON_COBRAR_SERVICO, CON_SALDO, CON_EAN)
  values (1002, 'LIVRE', 'N', 0, '20000000100204') matching (CODCONTROLE);
