#include "restaurant/DGarcon.h"

#include "framework/services/DAcesso.h"
#include "framework/services/Module.h"

namespace kvo {

const QString TdmGarcon::sqlGarconsDoPedido = QStringLiteral(
    "SELECT DISTINCT\r\n  RES_GARCON.GAR_NOME\r\nFROM\r\n  RES_PEDIDO_ITEM\r\n"
    "  INNER JOIN RES_PEDIDO ON (RES_PEDIDO_ITEM.CODPEDIDO = RES_PEDIDO.CODPEDIDO)\r\n"
    "  INNER JOIN RES_GARCON ON (RES_GARCON.CODGARCON = RES_PEDIDO_ITEM.CODGARCON)\r\nWHERE\r\n"
    "  (RES_PEDIDO_ITEM.PEDI_STATUS = 'NORMAL') AND\r\n  (RES_PEDIDO.CODPEDIDO = :CODPEDIDO)");

TdmGarcon& TdmGarcon::gerarInstance() { return Module::current().instance<TdmGarcon>(); }

TdmGarcon::TdmGarcon() : TdmGarcon(TdmAcesso::gerarInstance().sqlCon()) {}

TdmGarcon::TdmGarcon(Database& db) : m_db(db), m_pesquisa(db) {
    m_pesquisa.configurar(QStringLiteral("select CODGARCON, GAR_NOME from RES_GARCON"), QStringLiteral("CODGARCON"),
                          QStringLiteral("Pesquisa de Garçon"), QStringLiteral("Registro não foi encontrado"));
    m_pesquisa.SetSQL4Where(QStringLiteral("COALESCE(GAN_ENTREGADOR, 'N') = 'N'"));
}

RecordSet& TdmGarcon::cdsGarcon() {
    if (!m_garcon) {
        m_garcon = std::make_unique<RecordSet>(m_db);
        RecordSet& g = *m_garcon;
        g.addField(QStringLiteral("CODGARCON"), FieldType::Integer).setRequired(true).setDisplayLabel(QStringLiteral("Código"));
        g.addField(QStringLiteral("GAR_NOME"), FieldType::String, 60).setRequired(true).setDisplayLabel(QStringLiteral("Nome"));
        g.addField(QStringLiteral("GAR_SENHA"), FieldType::String, 20);
        g.addField(QStringLiteral("GAR_PERC"), FieldType::Currency).setDisplayFormat(QStringLiteral(",0.00 %"));
        g.addField(QStringLiteral("GAN_ENTREGADOR"), FieldType::String, 1);
        g.setCommandText(QStringLiteral("select CODGARCON, GAR_NOME, GAR_SENHA, GAR_PERC, GAN_ENTREGADOR from RES_GARCON "
                                        "order by CODGARCON"));
        g.setUpdateTable(QStringLiteral("RES_GARCON"));
        g.setKeyFields({QStringLiteral("CODGARCON")});
        g.onNewRecord = [this](RecordSet& rs) {
            rs.field(QStringLiteral("CODGARCON")).setValue(m_db.getGeneretor(QStringLiteral("GEN_RES_GARCON")));
            rs.field(QStringLiteral("GAN_ENTREGADOR")).setValue(QStringLiteral("N"));
        };
    }
    if (!m_garcon->active())
        m_garcon->open();
    return *m_garcon;
}

QString TdmGarcon::nomeGarcon(int codgarcon) {
    return m_db.scalar(QStringLiteral("SELECT GAR_NOME FROM RES_GARCON where CODGARCON = :C"), {{QStringLiteral("C"), codgarcon}})
        .toString();
}

bool TdmGarcon::senhaConfere(int codgarcon, const QString& senha) {
    return m_db
               .scalar(QStringLiteral("SELECT count(*) FROM RES_GARCON WHERE RES_GARCON.CODGARCON = :C AND "
                                      "RES_GARCON.GAR_SENHA = :S"),
                       {{QStringLiteral("C"), codgarcon}, {QStringLiteral("S"), senha}})
               .toInt() > 0;
}

std::unique_ptr<RecordSet> TdmGarcon::garconsDoPedido(int codpedido) {
    return m_db.query(sqlGarconsDoPedido, {{QStringLiteral("CODPEDIDO"), codpedido}});
}

} // namespace kvo
