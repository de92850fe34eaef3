#include "framework/db/SelectList.h"

#include <QRegularExpression>
#include <QSet>

namespace kvo {

namespace {

bool isWordChar(QChar c) { return c.isLetterOrNumber() || c == u'_' || c == u'$'; }

// Index just past the quoted text starting at `i` (a doubled quote stays inside).
qsizetype skipQuoted(const QString& s, qsizetype i) {
    const QChar q = s[i];
    for (++i; i < s.size(); ++i) {
        if (s[i] != q)
            continue;
        if (i + 1 < s.size() && s[i + 1] == q)
            ++i;
        else
            return i + 1;
    }
    return s.size();
}

// Walks `s` outside quotes and parentheses: `onWord(start, end)` for each
// word, `onComma(at)` for each comma; either may stop the walk by returning false.
template <class Word, class Comma>
void walkTopLevel(const QString& s, Word&& onWord, Comma&& onComma) {
    int depth = 0;
    for (qsizetype i = 0; i < s.size();) {
        const QChar c = s[i];
        if (c == u'\'' || c == u'"') {
            i = skipQuoted(s, i);
            continue;
        }
        if (c == u'(')
            ++depth;
        else if (c == u')')
            --depth;
        else if (depth == 0 && c == u',' && !onComma(i))
            return;
        if (depth == 0 && isWordChar(c)) {
            qsizetype j = i;
            while (j < s.size() && isWordChar(s[j]))
                ++j;
            if (!onWord(i, j))
                return;
            i = j;
            continue;
        }
        ++i;
    }
}

SelectColumn splitAlias(const QString& item) {
    static const QRegularExpression withAs(QStringLiteral(R"(^(.*\S)\s+as\s+("[^"]+"|[A-Za-z_][\w$]*)\s*$)"),
                                           QRegularExpression::CaseInsensitiveOption |
                                               QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression bare(QStringLiteral(R"(^(.*[\w)'"])\s+([A-Za-z_][\w$]*)\s*$)"),
                                         QRegularExpression::DotMatchesEverythingOption);
    // Words that end an expression or join two of its parts, never an alias.
    static const QSet<QString> notAlias{QStringLiteral("END"), QStringLiteral("NULL"), QStringLiteral("TRUE"),
                                        QStringLiteral("FALSE"), QStringLiteral("UNKNOWN")};
    static const QSet<QString> joining{QStringLiteral("AND"),     QStringLiteral("OR"),   QStringLiteral("NOT"),
                                       QStringLiteral("IS"),      QStringLiteral("COLLATE"), QStringLiteral("WHEN"),
                                       QStringLiteral("THEN"),    QStringLiteral("ELSE"), QStringLiteral("LIKE"),
                                       QStringLiteral("IN"),      QStringLiteral("BETWEEN"), QStringLiteral("CONTAINING"),
                                       QStringLiteral("STARTING"), QStringLiteral("WITH"), QStringLiteral("SIMILAR"),
                                       QStringLiteral("TO"),      QStringLiteral("ESCAPE"), QStringLiteral("CASE")};
    const QString text = item.trimmed();
    auto m = withAs.match(text);
    if (m.hasMatch())
        return {m.captured(1).trimmed(), m.captured(2)};
    m = bare.match(text);
    if (m.hasMatch() && !notAlias.contains(m.captured(2).toUpper())) {
        const QString expression = m.captured(1).trimmed();
        static const QRegularExpression lastWord(QStringLiteral(R"((\w+)$)"));
        const auto w = lastWord.match(expression);
        if (!w.hasMatch() || !joining.contains(w.captured(1).toUpper()))
            return {expression, m.captured(2)};
    }
    return {text, {}};
}

} // namespace

QList<SelectColumn> selectColumns(const QString& select) {
    qsizetype start = -1, end = -1;
    walkTopLevel(
        select,
        [&](qsizetype a, qsizetype b) {
            const QStringView word = QStringView(select).mid(a, b - a);
            if (start < 0 && word.compare(u"select", Qt::CaseInsensitive) == 0)
                start = b;
            else if (start >= 0 && word.compare(u"from", Qt::CaseInsensitive) == 0)
                end = a;
            return end < 0;
        },
        [](qsizetype) { return true; });
    if (start < 0 || end < 0)
        return {};
    QString list = select.mid(start, end - start);
    static const QRegularExpression modifiers(
        QStringLiteral(R"(^\s*(?:(?:first|skip)\s+(?:\d+|\?|:\w+|\([^)]*\))\s+)*(?:(?:distinct|all)\s+)?)"),
        QRegularExpression::CaseInsensitiveOption);
    list.remove(0, modifiers.match(list).capturedLength());

    QList<SelectColumn> columns;
    qsizetype from = 0;
    walkTopLevel(
        list, [](qsizetype, qsizetype) { return true; },
        [&](qsizetype at) {
            columns << splitAlias(list.mid(from, at - from));
            from = at + 1;
            return true;
        });
    columns << splitAlias(list.mid(from));
    return columns;
}

QString columnExpression(const QString& select, const QString& name) {
    for (const SelectColumn& c : selectColumns(select))
        if (!c.alias.isEmpty() && QString(c.alias).remove(u'"').compare(name, Qt::CaseInsensitive) == 0)
            return c.expression;
    return name;
}

} // namespace kvo
