#include "restaurant/extrato/Extenso.h"

#include <QStringList>

namespace kvo {

namespace {

const char* const Unidades[] = {"zero",  "um",    "dois",      "três",     "quatro",    "cinco",
                                "seis",  "sete",  "oito",      "nove",     "dez",       "onze",
                                "doze",  "treze", "quatorze",  "quinze",   "dezesseis", "dezessete",
                                "dezoito", "dezenove"};
const char* const Dezenas[] = {"", "", "vinte", "trinta", "quarenta", "cinquenta", "sessenta", "setenta", "oitenta",
                               "noventa"};
const char* const Centenas[] = {"",           "cento",      "duzentos", "trezentos",  "quatrocentos",
                                "quinhentos", "seiscentos", "setecentos", "oitocentos", "novecentos"};

QString u8(const char* s) { return QString::fromUtf8(s); }

// 1..999
QString ate999(int n) {
    if (n == 100)
        return QStringLiteral("cem");
    QStringList partes;
    if (n >= 100)
        partes << u8(Centenas[n / 100]);
    const int resto = n % 100;
    if (resto >= 20) {
        partes << u8(Dezenas[resto / 10]);
        if (resto % 10)
            partes << u8(Unidades[resto % 10]);
    } else if (resto > 0) {
        partes << u8(Unidades[resto]);
    }
    return partes.join(QStringLiteral(" e "));
}

// Whole units: groups of thousands joined as Portuguese joins them ("mil e
// cem", "mil duzentos e trinta", "um milhão e quinhentos mil").
QString inteiro(qint64 n) {
    struct Escala {
        qint64 valor;
        const char* singular;
        const char* plural;
    };
    const Escala escalas[] = {{1000000000000LL, "trilhão", "trilhões"},
                              {1000000000LL, "bilhão", "bilhões"},
                              {1000000LL, "milhão", "milhões"},
                              {1000LL, "mil", "mil"},
                              {1LL, "", ""}};
    QList<QPair<int, QString>> grupos; // value of the group, its words
    for (const Escala& e : escalas) {
        const int g = int(n / e.valor);
        n %= e.valor;
        if (g == 0)
            continue;
        QString t;
        if (e.valor == 1000 && g == 1)
            t = QStringLiteral("mil");
        else if (e.valor == 1)
            t = ate999(g);
        else
            t = ate999(g) + u' ' + u8(g == 1 ? e.singular : e.plural);
        grupos << qMakePair(g, t);
    }
    QString s;
    for (qsizetype i = 0; i < grupos.size(); ++i) {
        if (i > 0) {
            const bool ultimo = i == grupos.size() - 1;
            const int g = grupos[i].first;
            s += ultimo && (g < 100 || g % 100 == 0) ? QStringLiteral(" e ") : QStringLiteral(" ");
        }
        s += grupos[i].second;
    }
    return s;
}

} // namespace

QString valorPorExtenso(Currency valor) {
    const qint64 centavosTotal = valor.roundTo2Even().raw() / 100;
    if (centavosTotal < 0)
        return QStringLiteral("menos ") + valorPorExtenso(Currency::fromRaw(-centavosTotal * 100));
    const qint64 reais = centavosTotal / 100;
    const int centavos = int(centavosTotal % 100);
    if (reais == 0 && centavos == 0)
        return QStringLiteral("zero reais");
    QString s;
    if (reais > 0) {
        s = inteiro(reais);
        // "um milhão de reais", but "um milhão e dez reais"
        const bool soMilhoes = reais >= 1000000 && reais % 1000000 == 0;
        s += reais == 1 ? QStringLiteral(" real") : soMilhoes ? QStringLiteral(" de reais") : QStringLiteral(" reais");
    }
    if (centavos > 0) {
        if (!s.isEmpty())
            s += QStringLiteral(" e ");
        s += ate999(centavos) + (centavos == 1 ? QStringLiteral(" centavo") : QStringLiteral(" centavos"));
    }
    return s;
}

} // namespace kvo
