#pragma once

#include "devices/EmulatedFiscalPrinter.h"

#include "RecordingTarget.h"
#include "core/Clock.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

// An emulated printer whose state lives in a fresh folder and whose paper is
// a RecordingTarget; `religar` plays a restart on the same folder.
class PrinterFixture : public ::testing::Test {
protected:
    void SetUp() override { ecf = ligar(); }

    std::unique_ptr<kvo::EmulatedFiscalPrinter> ligar(int numeroEcf = 7) {
        auto printer = std::make_unique<kvo::EmulatedFiscalPrinter>(folder.path(), paper, numeroEcf);
        printer->Ativar();
        return printer;
    }
    void religar() {
        ecf.reset();
        ecf = ligar(99); // the number of an existing printer is its own, not the one asked for
    }
    // The item of a pre-sale as the pre-sale cancellation hands it over.
    void vender(const QString& codigo, const QString& descricao, const QString& aliquota, kvo::Currency qtde,
                kvo::Currency unitario, kvo::Currency desconto = {}) {
        ecf->VendeItem(codigo, descricao, aliquota, qtde, unitario, desconto, QStringLiteral("UN"),
                       QStringLiteral("$"), QStringLiteral("D"), -1);
    }
    // The message of the FiscalPrinterError that `command` throws.
    template <typename F> static QString erro(F&& command) {
        try {
            command();
        } catch (const kvo::FiscalPrinterError& e) {
            return e.message();
        }
        return QStringLiteral("<sem erro>");
    }
    static kvo::Currency cur(const char* text) {
        return kvo::Currency::fromString(QString::fromLatin1(text));
    }

    QTemporaryDir folder;
    std::shared_ptr<RecordingTarget> paper = std::make_shared<RecordingTarget>();
    kvo::FixedClock clock{QDateTime(QDate(2026, 12, 6), QTime(20, 30, 0))};
    std::unique_ptr<kvo::EmulatedFiscalPrinter> ecf;
};
