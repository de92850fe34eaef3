#include "registers/LayoutImpressaoNF.h"

#include "framework/db/DatabaseError.h"
#include "framework/ui/UserInterface.h"

namespace kvo {

namespace {
const QString campoTabela = QStringLiteral("PARNI_TABELA");
const QString campoNome = QStringLiteral("PARNI_CAMPO");

void naoNegativo(Field& f) {
    if (f.asInteger() < 0)
        throw DatabaseError(QStringLiteral("O valor de %1 não pode ser negativo.").arg(f.displayLabel()));
}
} // namespace

// A refused value raises without a dialog: the grid that typed it tells the user.
LayoutImpressaoNF::LayoutImpressaoNF(Database& db) : m_db(db) {
    m_rs = MontarDataSet(db, QStringLiteral("PAR_NFVENDA_IMPRESSAO"), QStringLiteral("1"), QStringLiteral("1"),
                         QStringLiteral("*"), QStringLiteral("CODPARNI"));
    m_rs->setKeyFields({QStringLiteral("CODPARNI")});
    const std::pair<const char*, const char*> rotulos[] = {
        {"PARNI_CAMPO", "Campo"},   {"PARNI_IMPRIMIR", "Imprimir"}, {"PARNI_COLUNA", "Coluna"},
        {"PARNI_LINHA", "Linha"},   {"PARNI_TAMANHO", "Tamanho"},   {"PARNI_SALTO", "Salto"}};
    for (const auto& [nome, rotulo] : rotulos)
        m_rs->field(QString::fromLatin1(nome)).setDisplayLabel(QString::fromUtf8(rotulo));
    m_rs->field(campoNome).setReadOnly(true);
    m_rs->field(QStringLiteral("PARNI_IMPRIMIR")).onValidate = [](Field& f) {
        const QString v = f.asString().trimmed().toUpper();
        if (v != u"S" && v != u"N")
            throw DatabaseError(QStringLiteral("Informe S ou N em Imprimir."));
        if (f.asString() != v)
            f.setValueSilently(v);
    };
    for (const char* nome : {"PARNI_COLUNA", "PARNI_LINHA", "PARNI_TAMANHO"})
        m_rs->field(QString::fromLatin1(nome)).onValidate = naoNegativo;
}

void LayoutImpressaoNF::mostrarTabela(const QString& tabela) {
    m_rs->checkBrowseMode();
    m_tabela = tabela;
    m_rs->setFilter([tabela](const RowView& row) { return row.value(campoTabela).toString() == tabela; });
    m_rs->first();
}

QStringList LayoutImpressaoNF::camposLivres(const QStringList& todas) const {
    QStringList usados;
    for (int i = 0; i < m_rs->recordCount(); ++i)
        usados << m_rs->valueAt(i, m_rs->field(campoNome).index()).toString().trimmed().toUpper();
    QStringList livres;
    for (const QString& c : todas)
        if (!usados.contains(c.toUpper()))
            livres << c;
    return livres;
}

void LayoutImpressaoNF::incluir(const QString& campo) {
    if (m_tabela.isEmpty() || campo.trimmed().isEmpty())
        Error(QStringLiteral("Escolha o campo a incluir."));
    m_rs->checkBrowseMode();
    if (!camposLivres({campo.trimmed()}).size())
        Error(QStringLiteral("O campo %1 já está no formulário.").arg(campo.trimmed()));
    m_rs->append();
    m_rs->field(QStringLiteral("CODPARNI")).setValue(m_db.getGeneretor(QStringLiteral("GEN_PAR_NFVENDA_IMPRESSAO")));
    m_rs->field(campoTabela).setValue(m_tabela);
    m_rs->field(campoNome).setValueSilently(campo.trimmed());
    m_rs->field(QStringLiteral("PARNI_IMPRIMIR")).setValue(QStringLiteral("S"));
    for (const char* nome : {"PARNI_COLUNA", "PARNI_LINHA", "PARNI_TAMANHO"})
        m_rs->field(QString::fromLatin1(nome)).setValue(0);
    m_rs->field(QStringLiteral("PARNI_SALTO")).setValue(1);
    m_rs->post();
}

void LayoutImpressaoNF::excluir() {
    m_rs->checkBrowseMode();
    if (!m_rs->isEmpty())
        m_rs->remove();
}

void LayoutImpressaoNF::gravar() {
    m_rs->checkBrowseMode();
    m_rs->applyUpdates(0);
}

} // namespace kvo
