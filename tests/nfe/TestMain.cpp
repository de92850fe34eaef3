#include "NFeFixtures.h"

#include <QGuiApplication>

#include <gtest/gtest.h>

#include <cstdio>

// The DANFE paints with QPainter, which needs a GUI application (offscreen).
int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    try {
        kvo::nfe::test::prepararFixtures();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return RUN_ALL_TESTS();
}
