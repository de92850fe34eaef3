#include "core/Clock.h"
#include "core/Paths.h"

#include <gtest/gtest.h>

TEST(Paths, WindowsStylePathsMapUnderTheProgramFolder) {
    kvo::setProgramFolder(QStringLiteral("/opt/kvo"));
    EXPECT_EQ(kvo::programFolder(), u"/opt/kvo");
    EXPECT_EQ(kvo::localPath(QStringLiteral("c:\\KVO\\pedidos\\")), u"/opt/kvo/drive_c/KVO/pedidos/");
    EXPECT_EQ(kvo::localPath(QStringLiteral("\\evento")), u"/opt/kvo/evento");
    EXPECT_EQ(kvo::localPath(QStringLiteral("nfe\\xml\\a.xml")), u"/opt/kvo/nfe/xml/a.xml");
    EXPECT_EQ(kvo::localPath(QStringLiteral("/var/spool/x")), u"/var/spool/x");
    EXPECT_EQ(kvo::localPath(QString()), u"");
    kvo::setProgramFolder(QString());
}

TEST(Clock, FixedForAScope) {
    const QDateTime moment(QDate(2026, 1, 2), QTime(3, 4, 5));
    {
        kvo::FixedClock fixed(moment);
        EXPECT_EQ(kvo::Clock::now(), moment);
    }
    EXPECT_NE(kvo::Clock::now(), moment);
}
