#include "nfe/ChaveAcesso.h"

#include <array>
#include <stdexcept>
#include <utility>

namespace kvo::nfe {

namespace {

constexpr std::array<std::pair<const char*, int>, 27> Estados{{
    {"RO", 11}, {"AC", 12}, {"AM", 13}, {"RR", 14}, {"PA", 15}, {"AP", 16}, {"TO", 17},
    {"MA", 21}, {"PI", 22}, {"CE", 23}, {"RN", 24}, {"PB", 25}, {"PE", 26}, {"AL", 27},
    {"SE", 28}, {"BA", 29}, {"MG", 31}, {"ES", 32}, {"RJ", 33}, {"SP", 35}, {"PR", 41},
    {"SC", 42}, {"RS", 43}, {"MS", 50}, {"MT", 51}, {"GO", 52}, {"DF", 53},
}};

QString fixed(qint64 value, int width, const char* what)
{
    const QString text = QString::number(value);
    if (value < 0 || text.size() > width)
        throw std::invalid_argument(std::string("chave de acesso: ") + what + " fora do tamanho");
    return text.rightJustified(width, u'0');
}

} // namespace

int Modulo11(const QString& digits)
{
    int sum = 0;
    int weight = 2;
    for (qsizetype i = digits.size() - 1; i >= 0; --i) {
        sum += digits.at(i).digitValue() * weight;
        weight = weight == 9 ? 2 : weight + 1;
    }
    const int rest = sum % 11;
    return rest < 2 ? 0 : 11 - rest;
}

QString GerarChaveAcesso(int cUF, const QDate& emissao, const QString& cnpj, int serie,
                         int numero, int tpEmis, int cNF, int modelo, int /*option*/)
{
    const QString doc = OnlyNumber(cnpj);
    if (doc.size() > 14)
        throw std::invalid_argument("chave de acesso: CNPJ com mais de 14 dígitos");
    const QString base = fixed(cUF, 2, "cUF") + emissao.toString(QStringLiteral("yyMM"))
        + doc.rightJustified(14, u'0') + fixed(modelo, 2, "modelo") + fixed(serie, 3, "série")
        + fixed(numero, 9, "número") + fixed(tpEmis, 1, "tpEmis") + fixed(cNF, 8, "cNF");
    if (base.size() != 43)
        throw std::invalid_argument("chave de acesso: data de emissão inválida");
    return QStringLiteral("NFe") + base + QString::number(Modulo11(base));
}

bool ChaveValida(const QString& chave)
{
    const QString digits = chave.startsWith(QStringLiteral("NFe")) ? chave.mid(3) : chave;
    if (digits.size() != 44 || OnlyNumber(digits).size() != 44)
        return false;
    return Modulo11(digits.left(43)) == digits.at(43).digitValue();
}

int UFparaCodigo(const QString& uf)
{
    const QString key = uf.trimmed().toUpper();
    for (const auto& [sigla, codigo] : Estados)
        if (key == QLatin1String(sigla))
            return codigo;
    return 0;
}

QString CodigoParaUF(int codigo)
{
    for (const auto& [sigla, c] : Estados)
        if (c == codigo)
            return QString::fromLatin1(sigla);
    return {};
}

QString TpEmisToStr(int tpEmis)
{
    return QString::number(tpEmis);
}

} // namespace kvo::nfe
