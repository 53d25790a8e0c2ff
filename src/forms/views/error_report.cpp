// SPDX-License-Identifier: GPL-3.0-or-later
#include "forms/views/error_report.h"

#include "text/cp932_convert.h"

#include <QApplication>
#include <QMessageBox>

namespace tobira {

void ReportUncaughtError(const std::exception& error) {
    QMessageBox::critical(QApplication::activeWindow(), QStringLiteral("TOBIRA"),
                          QString::fromStdString(Cp932ToUtf8(error.what())));
}

void ReportUncaughtError() {
    QMessageBox::critical(QApplication::activeWindow(), QStringLiteral("TOBIRA"),
                          QStringLiteral("不明なエラーです"));
}

} // namespace tobira
