#include "framework/ui/Pesquisa.h"

#include "framework/db/SelectList.h"
#include "framework/db/SqlText.h"
#include "framework/ui/UserInterface.h"


namespace kvo {

std::function<QVariant(TwbtPesquisa&, const QString&)> TwbtPesquisa::dialogo;

TwbtPesquisa::TwbtPesquisa(Database& db) : m_db(db) {}

QString TwbtPesquisa::condicao(const QString& extra) const {
    QStringList partes;
    if (!m_where.isEmpty())
        partes << u'(' + m_where + u')';
    if (!extra.isEmpty())
        partes << extra;
    return partes.isEmpty() ? QString() : QStringLiteral(" where ") + partes.join(QStringLiteral(" and "));
}

bool TwbtPesquisa::Localizar(const QVariant& codigo, bool mostrar) {
    m_encontrado = m_db.query(m_select + condicao(m_chave + QStringLiteral(" = :CODIGO")), {{QStringLiteral("CODIGO"), codigo}});
    if (!m_encontrado->isEmpty())
        return true;
    if (mostrar)
        Alerta(m_naoEncontrado);
    return false;
}

void TwbtPesquisa::Complementar(const QList<Field*>& campos, int ultimo) {
    if (!m_encontrado || m_encontrado->isEmpty())
        return;
    const int n = ultimo < 0 ? int(campos.size()) - 1 : std::min(ultimo, int(campos.size()) - 1);
    for (int i = 0; i <= n && i < m_encontrado->fieldCount(); ++i)
        if (campos[i])
            campos[i]->setValue(m_encontrado->field(i).value());
}

std::unique_ptr<RecordSet> TwbtPesquisa::rotular(std::unique_ptr<RecordSet> rs) const {
    for (int i = 0; i < rs->fieldCount(); ++i)
        if (const auto r = m_rotulos.constFind(rs->field(i).name()); r != m_rotulos.cend())
            rs->field(i).setDisplayLabel(*r);
    return rs;
}

std::unique_ptr<RecordSet> TwbtPesquisa::pesquisar(const QString& texto) {
    auto colunas = m_db.query(m_select + QStringLiteral(" where 1 = 0"));
    if (texto.isEmpty())
        return rotular(m_db.query(m_select + condicao({})));
    // An alias cannot be named in "where": filter on the column's own expression.
    const QList<SelectColumn> lista = selectColumns(m_select);
    const bool porPosicao = lista.size() == colunas->fieldCount();
    // The text as a quoted literal: a parameter would take the type of each
    // column it is compared with and be cut to a CHAR(1) column's length.
    const QString padrao = quotedStr(u'%' + texto + u'%');
    QStringList ou;
    for (int i = 0; i < colunas->fieldCount(); ++i)
        if (colunas->field(i).type() == FieldType::String)
            ou << QStringLiteral("upper(%1) like upper(%2)")
                      .arg(porPosicao ? lista[i].expression : colunas->field(i).name(), padrao);
    bool numero = false;
    const qlonglong valor = texto.toLongLong(&numero);
    if (numero)
        ou << m_chave + QStringLiteral(" = ") + quotedStr(QString::number(valor)); // text or number keys alike
    if (ou.isEmpty())
        return rotular(m_db.query(m_select + condicao({})));
    return rotular(m_db.query(m_select + condicao(u'(' + ou.join(QStringLiteral(" or ")) + u')')));
}

bool TwbtPesquisa::AbrePesquisa(Field& campo) {
    if (!dialogo)
        return false;
    const QVariant chave = dialogo(*this, m_titulo);
    if (chave.isNull())
        return false;
    campo.setValue(chave);
    Localizar(chave, false);
    return true;
}

bool Libgeral::AbrirPesquisa(RecordSet& fonte, const QString& campo, TwbtPesquisa& pesquisa) {
    if (fonte.state() == RecordSet::State::Browse)
        fonte.edit();
    return pesquisa.AbrePesquisa(fonte.field(campo));
}

} // namespace kvo
