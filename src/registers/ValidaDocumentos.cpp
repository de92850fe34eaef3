#include "registers/ValidaDocumentos.h"

#include "core/Text.h"

#include <QStringList>

namespace kvo::documentos {

namespace {

// Modulus-11 check digit over `digitos` with weights running from `pesoInicial`
// down to 2 and, for CNPJ, wrapping back to 9.
int digitoMod11(const QString& digitos, int pesoInicial, int pesoMaximo) {
    int soma = 0;
    int peso = pesoInicial;
    for (const QChar c : digitos) {
        soma += c.digitValue() * peso;
        peso = peso == 2 ? pesoMaximo : peso - 1;
    }
    const int resto = soma % 11;
    return resto < 2 ? 0 : 11 - resto;
}

bool repetido(const QString& digitos) { return digitos.count(digitos.front()) == digitos.size(); }

} // namespace

bool cpfValido(const QString& cpf) {
    const QString d = OnlyNumber(cpf);
    if (d.size() != 11 || repetido(d))
        return false;
    const int d1 = digitoMod11(d.left(9), 10, 10);
    const int d2 = digitoMod11(d.left(10), 11, 11);
    return d[9].digitValue() == d1 && d[10].digitValue() == d2;
}

bool cnpjValido(const QString& cnpj) {
    const QString d = OnlyNumber(cnpj);
    if (d.size() != 14 || repetido(d))
        return false;
    const int d1 = digitoMod11(d.left(12), 5, 9);
    const int d2 = digitoMod11(d.left(13), 6, 9);
    return d[12].digitValue() == d1 && d[13].digitValue() == d2;
}

QString formatarCpfCnpj(const QString& texto) {
    const QString d = OnlyNumber(texto);
    if (d.size() == 11)
        return QStringLiteral("%1.%2.%3-%4").arg(d.mid(0, 3), d.mid(3, 3), d.mid(6, 3), d.mid(9, 2));
    if (d.size() == 14)
        return QStringLiteral("%1.%2.%3/%4-%5").arg(d.mid(0, 2), d.mid(2, 3), d.mid(5, 3), d.mid(8, 4), d.mid(12, 2));
    return texto;
}

bool ufValida(const QString& uf) {
    static const QStringList ufs{QStringLiteral("AC"), QStringLiteral("AL"), QStringLiteral("AP"), QStringLiteral("AM"),
                                 QStringLiteral("BA"), QStringLiteral("CE"), QStringLiteral("DF"), QStringLiteral("ES"),
                                 QStringLiteral("GO"), QStringLiteral("MA"), QStringLiteral("MT"), QStringLiteral("MS"),
                                 QStringLiteral("MG"), QStringLiteral("PA"), QStringLiteral("PB"), QStringLiteral("PR"),
                                 QStringLiteral("PE"), QStringLiteral("PI"), QStringLiteral("RJ"), QStringLiteral("RN"),
                                 QStringLiteral("RS"), QStringLiteral("RO"), QStringLiteral("RR"), QStringLiteral("SC"),
                                 QStringLiteral("SP"), QStringLiteral("SE"), QStringLiteral("TO")};
    return ufs.contains(uf);
}

bool ieValida(const QString& ie) {
    const QString t = ie.trimmed().toUpper();
    if (t == QLatin1String("ISENTO"))
        return true;
    for (const QChar c : t)
        if (!c.isDigit() && c != u'.' && c != u'-' && c != u'/' && c != u' ')
            return false;
    const qsizetype n = OnlyNumber(t).size();
    return n >= 2 && n <= 14;
}

bool codigoBarrasValido(const QString& codigo) {
    const QString d = codigo.trimmed();
    if ((d.size() != 8 && d.size() != 13 && d.size() != 14) || OnlyNumber(d) != d)
        return false;
    // Weights 3 and 1 alternate from the digit next to the check digit.
    int soma = 0;
    for (qsizetype i = d.size() - 2, peso = 3; i >= 0; --i, peso = 4 - peso)
        soma += d[i].digitValue() * int(peso);
    return (10 - soma % 10) % 10 == d.back().digitValue();
}

} // namespace kvo::documentos
