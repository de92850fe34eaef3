#include "NFeSamples.h"

#include "nfe/NFeXmlWriter.h"
#include "nfe/XmlLib.h"

#include <QFile>

#include <gtest/gtest.h>

using namespace kvo::nfe;

namespace {

// One element per line, so a change to the writer shows up as a readable diff.
QByteArray indentado(const QByteArray& xml)
{
    return xml::dumpRoot(xml::parse(xml).get(), true) + '\n';
}

QByteArray golden(const char* nome)
{
    QFile f(QStringLiteral(KVO_SOURCE_DIR "/tests/nfe/golden/") + QLatin1String(nome));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

// The XML of a fixed invoice: an interstate sale of two items to a final
// consumer with every group the invoice assembly fills.
TEST(NFeGolden, InterstateInvoice)
{
    const QByteArray atual = indentado(writeNFeXml(samples::interestadualConsumidorFinal(2)));
    const QByteArray esperado = golden("nfe-interestadual.xml");
    if (esperado != atual) {
        QFile novo(QStringLiteral("nfe-interestadual.xml.atual"));
        if (novo.open(QIODevice::WriteOnly))
            novo.write(atual);
    }
    EXPECT_EQ(QString::fromUtf8(esperado), QString::fromUtf8(atual)) << "new output written to nfe-interestadual.xml.atual";
}
