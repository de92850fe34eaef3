#include "framework/db/ScriptRunner.h"

#include "framework/db/Database.h"

#include <QRegularExpression>

namespace kvo {

QList<ScriptStatement> splitScript(const QString& script) {
    static const QRegularExpression setTerm(QStringLiteral("^\\s*set\\s+term\\s+(\\S+)\\s*$"),
                                            QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression isqlSetting(QStringLiteral("^\\s*set\\s+(autoddl|sql\\s+dialect|names|echo|bail|list|stats|plan|count)\\b"),
                                                QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression commit(QStringLiteral("^\\s*commit(\\s+work)?\\s*$"),
                                           QRegularExpression::CaseInsensitiveOption);
    QList<ScriptStatement> out;
    QString terminator = QStringLiteral(";");
    QString current;
    int line = 1, startLine = 0;
    const qsizetype n = script.size();
    auto flush = [&] {
        const QString sql = current.trimmed();
        current.clear();
        if (sql.isEmpty())
            return;
        if (auto m = setTerm.match(sql); m.hasMatch()) {
            terminator = m.captured(1);
            return;
        }
        if (isqlSetting.match(sql).hasMatch())
            return;
        ScriptStatement st;
        st.line = startLine;
        if (commit.match(sql).hasMatch())
            st.commit = true;
        else
            st.sql = sql;
        out << st;
    };
    for (qsizetype i = 0; i < n;) {
        const QChar c = script[i];
        if (c == u'-' && i + 1 < n && script[i + 1] == u'-') { // line comment
            while (i < n && script[i] != u'\n')
                ++i;
            continue;
        }
        if (c == u'/' && i + 1 < n && script[i + 1] == u'*') { // block comment, kept inside bodies
            const qsizetype end = script.indexOf(QStringLiteral("*/"), i + 2);
            const qsizetype stop = end < 0 ? n : end + 2;
            const QString comment = script.mid(i, stop - i);
            line += int(comment.count(u'\n'));
            if (!current.trimmed().isEmpty())
                current += comment;
            i = stop;
            continue;
        }
        if (startLine == 0 && !c.isSpace())
            startLine = line;
        if (c == u'\n')
            ++line;
        if (c == u'\'' || c == u'"') { // quoted text or identifier
            qsizetype j = i + 1;
            while (j < n) {
                if (script[j] == c) {
                    if (j + 1 < n && script[j + 1] == c) {
                        j += 2;
                        continue;
                    }
                    break;
                }
                if (script[j] == u'\n')
                    ++line;
                ++j;
            }
            current += script.mid(i, j - i + 1);
            i = j + 1;
            continue;
        }
        if (script.mid(i, terminator.size()) == terminator) {
            flush();
            startLine = 0;
            i += terminator.size();
            continue;
        }
        current += c;
        ++i;
    }
    flush();
    return out;
}

void runScript(Database& db, const QString& script, const QString& scriptName) {
    const QList<ScriptStatement> statements = splitScript(script);
    for (const ScriptStatement& st : statements) {
        try {
            if (st.commit) {
                // Firebird only sees new tables after the DDL is committed.
                db.commitAndContinue();
            } else {
                db.executeSQL(st.sql);
            }
        } catch (const DatabaseError& e) {
            throw DatabaseError(QStringLiteral("%1, linha %2: %3").arg(scriptName).arg(st.line).arg(e.message()), st.sql);
        }
    }
}

} // namespace kvo
