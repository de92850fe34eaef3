#include "restaurant/OperacoesMesa.h"

#include "core/Clock.h"
#include "framework/db/Database.h"
#include "framework/db/DatabaseError.h"
#include "framework/db/SqlText.h"
#include "framework/services/DAcesso.h"
#include "framework/services/DConfiguracao.h"
#include "framework/ui/USenha.h"
#include "framework/ui/UserInterface.h"
#include "restaurant/DGarcon.h"
#include "restaurant/DResPedido.h"
#include "restaurant/extrato/RExtrato.h"

#include <QElapsedTimer>
#include <QThread>

namespace kvo::mesas {

namespace {
QString chave(const char* nome) { return TdmConfiguracao::gerarInstance().getStr(QString::fromLatin1(nome)); }
bool ligada(const char* nome) { return chave(nome) == QLatin1String("S"); }

// How long a transfer waits for another terminal's save of the same table.
constexpr int kEsperaMs = 3000;
} // namespace

QString dataHoraProcedimento(const QDateTime& quando) { return quando.toString(QStringLiteral("dd.MM.yyyy hh:mm:ss")); }

QString sqlTransferenciaItem(qint64 coditem, int destino, const QDateTime& quando, const QString& usuario,
                             Currency qtde, const QString& motivo) {
    const bool comMotivo = !motivo.isEmpty();
    QString sql = QStringLiteral("EXECUTE PROCEDURE ") +
                  (comMotivo ? QStringLiteral("STP_RES_TRANS_ITEM_MOTIVO(") : QStringLiteral("STP_RES_TRANS_ITEM(")) +
                  QString::number(coditem) + QStringLiteral(", ") + QString::number(destino) + QStringLiteral(", ") +
                  quotedStr(dataHoraProcedimento(quando)) + u',' + quotedStr(usuario) + u',' +
                  quotedStr(currencyToPlainText(qtde).replace(u',', u'.'));
    if (comMotivo)
        sql += u',' + quotedStr(motivo.left(100));
    return sql + u')';
}

QString sqlTransferenciaMesa(int origem, int destino, const QDateTime& quando, const QString& usuario) {
    return QStringLiteral("EXECUTE PROCEDURE STP_RES_TRANS(") + QString::number(origem) + QStringLiteral(", ") +
           QString::number(destino) + QStringLiteral(", ") + quotedStr(dataHoraProcedimento(quando)) + u',' +
           quotedStr(usuario) + u')';
}

QString sqlCancelarMesa(int codpedido, const QString& usuario, const QDateTime& quando) {
    return QStringLiteral("EXECUTE PROCEDURE STP_RES_CANCELAR(") + QString::number(codpedido) + u',' +
           quotedStr(usuario) + u',' + quotedStr(dataHoraProcedimento(quando)) + u')';
}

QDateTime momentoMovimento(TdmResPedido& dm) {
    const auto quando = dm.dataMovimento();
    if (!quando)
        Error(QStringLiteral("Nenhum caixa aberto! Abra o caixa antes de movimentar as mesas."));
    return *quando;
}

QString usuarioAtual() { return TdmAcesso::gerarInstance().usuario().nome.left(30); }

void executarProcedimento(Database& db, const QString& sql) {
    QElapsedTimer espera;
    espera.start();
    for (;;) {
        try {
            Transaction tx(db);
            db.executeSQL(sql);
            tx.commit();
            return;
        } catch (const DatabaseError& e) {
            if (e.kind() != DatabaseError::Kind::LockConflict)
                throw;
            if (espera.elapsed() > kEsperaMs)
                Error(QStringLiteral("A mesa está sendo lançada em outro terminal neste momento. Nada foi alterado: "
                                     "tente novamente em instantes."));
            QThread::msleep(50);
        }
    }
}

int conferirMesa(TdmResPedido& dm, const QString& texto) {
    const QString t = texto.trimmed();
    if (t.isEmpty())
        Alerta(QStringLiteral("Informe a mesa"), true);
    bool ok = false;
    const int mesa = t.toInt(&ok);
    if (!ok)
        Alerta(QStringLiteral("Informe um número de mesa válida!"), true);
    if (!dm.controleValido(mesa))
        Alerta(QStringLiteral("Mesa não está correta, tente novamente"), true);
    return mesa;
}

int conferirGarcon(const QString& codigo, const QString& senha) {
    if (codigo.trimmed().isEmpty())
        Alerta(QStringLiteral("Informe o código do Garçon"), true);
    if (senha.isEmpty())
        Alerta(QStringLiteral("Informe a senha"), true);
    bool ok = false;
    const int garcon = codigo.trimmed().toInt(&ok);
    if (!ok || !TdmGarcon::gerarInstance().senhaConfere(garcon, senha))
        Alerta(QStringLiteral("Garçon/Senha não está correta, tente novamente"), true);
    return garcon;
}

int pedidoAbertoAvaliado(TdmResPedido& dm, int mesa) {
    dm.avaliaControle(mesa);
    return dm.pedidoAberto(mesa);
}

bool cancelarMesa(TdmResPedido& dm, int mesa) {
    const int codpedido = pedidoAbertoAvaliado(dm, mesa);
    if (codpedido <= 0)
        Error(QStringLiteral("Mesa não está aberta!"));
    if (!Confirma(QStringLiteral("Confirma \"Cancelar\" essa Mesa (") + QString::number(mesa) + QStringLiteral(") ?")))
        return false;
    if (ligada("REST.SNH.MES")) {
        const bool autorizado =
            chave("RST.SNH.MOVMES").isEmpty()
                ? TfrmSenha::autorizarDesconto()
                : TfrmSenha::autorizarSenhaParametro(QStringLiteral("RST.SNH.MOVMES"),
                                                     QStringLiteral("Senha de cancelamento da mesa:"));
        if (!autorizado)
            return false;
    }
    const QDateTime quando = momentoMovimento(dm);
    TrelExtrato().extrato(mesa, true);
    executarProcedimento(dm.conexao(), sqlCancelarMesa(codpedido, usuarioAtual(), quando));
    return true;
}

void alterarAcrescimo(TdmResPedido& dm, int mesa) {
    Database& db = dm.conexao();
    dm.avaliaControle(mesa);
    const auto rs = db.query(QStringLiteral(" SELECT RES_PEDIDO.CODPEDIDO, PED_DESC_VLR, PED_QTDE_PESSOA,  PED_QTDE_COVERT, "
                                            "PED_ACRESCIMO  FROM    RES_PEDIDO  WHERE    (RES_PEDIDO.PED_STATUS = "
                                            "'ABERTO') AND    (RES_PEDIDO.CODCONTROLE = :C) "),
                             {{QStringLiteral("C"), mesa}});
    if (rs->isEmpty())
        Error(QStringLiteral("Não foi encontrado nenhuma movimentação para essa mesa!"));
    TrelExtrato rel;
    AjustesExtrato& a = rel.ajustes();
    a.desconto = rs->field(QStringLiteral("PED_DESC_VLR")).asCurrency();
    a.pessoas = int(rs->field(QStringLiteral("PED_QTDE_PESSOA")).asInteger());
    a.couverts = int(rs->field(QStringLiteral("PED_QTDE_COVERT")).asInteger());
    a.servico = a.servicoOriginal = rs->field(QStringLiteral("PED_ACRESCIMO")).asCurrency();
    rel.setMostrarEscolha(true);
    rel.chamaEscolha();
    dm.avaliaControle(mesa);
    const int codpedido = dm.pedidoAberto(mesa);
    if (codpedido <= 0)
        Error(QStringLiteral("Não foi encontrado nenhuma movimentação para essa mesa!"));
    dm.CarregarResVenda(codpedido);
    RecordSet& p = dm.cdsResPedido();
    p.edit();
    p.field(QStringLiteral("PED_DESC_VLR")).setValue(QVariant::fromValue(a.desconto));
    p.field(QStringLiteral("PED_QTDE_PESSOA")).setValue(a.pessoas);
    p.field(QStringLiteral("PED_QTDE_COVERT")).setValue(a.couverts);
    p.field(QStringLiteral("PED_ACRESCIMO")).setValue(QVariant::fromValue(a.servico));
    p.field(QStringLiteral("PED_DATA_FINAL")).setValue(Clock::now());
    dm.gravarPedido();
}

void conferirEntradaLancada(TdmResPedido& dm, int mesa) {
    if (ligada("RES.ESC.PESSOA") && mesa >= 1000 && dm.pedidoAberto(mesa) <= 0)
        Error(QStringLiteral("Só pode lançar em Mesa/Comanda que teve a entrada lançada!"));
}

std::optional<PessoaEntrada> pesquisarPessoa(TdmResPedido& dm, const QString& ddd, const QString& celular) {
    if (celular.trimmed().isEmpty())
        Error(QStringLiteral("Informe o número de Celular!"));
    if (ddd.trimmed().isEmpty())
        Error(QStringLiteral("Informe o DDD!"));
    const auto rs = dm.conexao().query(
        QStringLiteral("SELECT CODPESSOA, PES_NOME, PES_RG, PES_SEXO, PES_DT_NASCIMENTO, PES_CELULAR_DDD, PES_CELULAR "
                       "FROM PESSOA WHERE PES_CELULAR LIKE :CEL and pes_celular_ddd = :DDD"),
        {{QStringLiteral("CEL"), QString(celular.trimmed() + u'%')}, {QStringLiteral("DDD"), ddd.trimmed()}});
    if (rs->isEmpty()) {
        Informacao(QStringLiteral("Pessoa não encontrado! Por favor preencher os dados"));
        return std::nullopt;
    }
    PessoaEntrada p;
    p.codigo = int(rs->field(QStringLiteral("CODPESSOA")).asInteger());
    p.nome = rs->field(QStringLiteral("PES_NOME")).asString();
    p.rg = rs->field(QStringLiteral("PES_RG")).asString();
    p.sexo = rs->field(QStringLiteral("PES_SEXO")).asString() == QLatin1String("M") ? QStringLiteral("M")
                                                                                     : QStringLiteral("F");
    p.nascimento = rs->field(QStringLiteral("PES_DT_NASCIMENTO")).value().toDate();
    p.ddd = rs->field(QStringLiteral("PES_CELULAR_DDD")).asString();
    p.celular = rs->field(QStringLiteral("PES_CELULAR")).asString();
    return p;
}

void cobrarEntrada(TdmResPedido& dm, int mesa, PessoaEntrada& pessoa) {
    Database& db = dm.conexao();
    if (mesa < 1000)
        Error(QStringLiteral("A Mesa/Comanda precisa ser maior que 1000!"));
    if (dm.pedidoAberto(mesa) > 0)
        Error(QStringLiteral("A Mesa/Comanda já tem movimentação!"));
    if (pessoa.codigo <= 0) {
        if (pessoa.nome.trimmed().isEmpty())
            Error(QStringLiteral("Você precisa digitar o nome!"));
        if (pessoa.ddd.trimmed().isEmpty())
            Error(QStringLiteral("Você precisa digitar o DDD!"));
        if (pessoa.celular.trimmed().isEmpty())
            Error(QStringLiteral("Você precisa digitar o celular!"));
    } else if (db.scalar(QStringLiteral(" SELECT    count(RES_PEDIDO.CODPEDIDO)  FROM    RES_PEDIDO  WHERE    "
                                        "RES_PEDIDO.PED_STATUS = 'ABERTO' and    RES_PEDIDO.CODCONTROLE <> :C AND "
                                        "   RES_PEDIDO.CODPESSOA = :P"),
                         {{QStringLiteral("C"), mesa}, {QStringLiteral("P"), pessoa.codigo}})
                   .toInt() > 0) {
        Error(QStringLiteral("Pessoa já se encontra em outra MESA ABERTA!"));
    }
    const int produto = chave("RES.ENTR.PROD").trimmed().toInt();
    const QString codigo =
        db.scalar(QStringLiteral("select PRO_CODPESQ_1 from PRODUTO where CODPRODUTO = :P"), {{QStringLiteral("P"), produto}})
            .toString();
    if (codigo.isEmpty())
        Error(QStringLiteral("Produto da entrada não encontrado! Informe o código do produto na configuração "
                             "RES.ENTR.PROD."));
    Transaction tx(db); // the new person and the tab's order together
    if (pessoa.codigo <= 0) {
        const int novo = int(db.getGeneretor(QStringLiteral("GEN_PESSOA")));
        db.executeSQL(QStringLiteral("insert into PESSOA (CODPESSOA, PES_NOME, PES_CELULAR_DDD, PES_CELULAR, PES_RG, "
                                     "PES_DT_NASCIMENTO, PES_SEXO, PES_TIPO, PES_ATIVO) values (:C, :N, :D, :CEL, :RG, "
                                     ":NASC, :S, 'F', 'S')"),
                      {{QStringLiteral("C"), novo},
                       {QStringLiteral("N"), pessoa.nome.trimmed()},
                       {QStringLiteral("D"), pessoa.ddd.trimmed()},
                       {QStringLiteral("CEL"), pessoa.celular.trimmed()},
                       {QStringLiteral("RG"), pessoa.rg.trimmed()},
                       {QStringLiteral("NASC"), pessoa.nascimento.isValid() ? QVariant(pessoa.nascimento) : QVariant()},
                       {QStringLiteral("S"), pessoa.sexo.left(1)}});
        pessoa.codigo = novo;
    }
    dm.abrirMesa(mesa);
    dm.cdsResPedido().field(QStringLiteral("CODPESSOA")).setValue(pessoa.codigo);
    RecordSet& i = dm.cdsResPedidoItem();
    i.append();
    i.field(QStringLiteral("CODPESQUISA")).setValue(codigo);
    i.post();
    dm.ResPedido_CalculaTotal();
    dm.gravarPedido();
    tx.commit();
    Informacao(QStringLiteral("Entrada foi dada com sucesso!"));
}

void exigirSenhaDaChave(const QString& nome, const QString& prompt) {
    const QString guardada = TdmConfiguracao::gerarInstance().getStr(nome);
    if (guardada.isEmpty())
        return;
    const QString digitada = TfrmSenha::chamaSenha(prompt);
    if (digitada.isEmpty())
        Error(QStringLiteral("Por favor digite uma senha!"));
    if (digitada != guardada)
        Error(QStringLiteral("Senha inválida!"));
}

namespace {
int numeroDaMesa(const QString& texto) {
    if (texto.trimmed().isEmpty())
        Error(QStringLiteral("Informe a mesa"));
    bool ok = false;
    const int n = texto.trimmed().toInt(&ok);
    if (!ok || n <= 0)
        Error(QStringLiteral("Informe um número de mesa válida!"));
    return n;
}
} // namespace

void transferirMesa(TdmResPedido& dm, const QString& origemTexto, const QString& destinoTexto) {
    Database& db = dm.conexao();
    const int origem = numeroDaMesa(origemTexto);
    if (db.scalar(QStringLiteral("SELECT count(*) FROM RES_CONTROLE WHERE RES_CONTROLE.CON_STATUS = 'EM USO' and "
                                 "RES_CONTROLE.CODCONTROLE = :C"),
                  {{QStringLiteral("C"), origem}})
            .toInt() == 0)
        Error(QStringLiteral("A Mesa(%1) não tem movimentação, tente outra!").arg(origem));
    const int destino = numeroDaMesa(destinoTexto);
    if (!dm.controleValido(destino))
        Error(QStringLiteral("A Mesa(%1) não está correta, tente outra!").arg(destino));
    if (origem == destino)
        Error(QStringLiteral("Mesa destino não pode ser a mesa origem, tente novamente"));
    dm.avaliaControle(origem);
    dm.avaliaControle(destino);
    exigirSenhaDaChave(QStringLiteral("RST.SNH.TRAME"), QStringLiteral("Senha de transferência de mesa:"));
    executarProcedimento(db, sqlTransferenciaMesa(origem, destino, momentoMovimento(dm), usuarioAtual()));
    Informacao(QStringLiteral("Transferência com sucesso!"));
}

} // namespace kvo::mesas
