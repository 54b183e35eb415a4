// SPDX-License-Identifier: Apache-2.0
// Baseline for the program's start-up: a bare Qt dialog with fifteen push
// buttons, shown and closed the way the program's main window is in
// app/ProgramStartup.cpp (shown, activated, pending events processed, then
// ended). Nothing of the program is linked.
#include <QApplication>
#include <QDialog>
#include <QPushButton>
#include <QVBoxLayout>

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    QDialog dialog;
    auto* layout = new QVBoxLayout(&dialog);
    for (int i = 1; i <= 15; ++i)
    {
        layout->addWidget(new QPushButton(QStringLiteral("Button %1").arg(i), &dialog));
    }
    dialog.setWindowTitle(QStringLiteral("Baseline"));
    dialog.setWindowModality(Qt::ApplicationModal);
    dialog.show();
    dialog.activateWindow();
    QCoreApplication::processEvents();
    dialog.done(QDialog::Rejected);
    return 0;
}
