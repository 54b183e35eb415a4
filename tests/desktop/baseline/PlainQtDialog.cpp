// SPDX-License-Identifier: Apache-2.0
// A plain Qt dialog with the kinds of controls the program's dialogs have,
// made the way a Qt developer would make them (labels as buddies, a spin box
// for a number, Qt's own accessibility throughout), with the program's
// texts: what a screen reader says of it is what the program must say at
// least. No file of the program is used.
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QDialog dialog;
    dialog.setWindowTitle("Plain Qt");
    auto* form = new QFormLayout;

    auto* user = new QComboBox;
    user->addItems({"user", "admin", "factory"});
    form->addRow("User Name:", user);

    auto* password = new QLineEdit;
    password->setEchoMode(QLineEdit::Password);
    form->addRow("Password:", password);

    auto* type = new QGroupBox("Tracker Type");
    auto* typeRow = new QHBoxLayout(type);
    auto* corvo = new QRadioButton("Corvo");
    auto* kelm = new QRadioButton("Kelm");
    kelm->setChecked(true);
    typeRow->addWidget(corvo);
    typeRow->addWidget(kelm);
    form->addRow(type);

    auto* address = new QGroupBox("IP Address");
    auto* addressRow = new QHBoxLayout(address);
    const char* parts[] = {"192", "0", "2", "10"};
    for (int i = 0; i < 4; ++i)
    {
        auto* part = new QLineEdit(parts[i]);
        part->setValidator(new QIntValidator(0, 255, part));
        part->setAccessibleName(QString("IP address, part %1 of 4").arg(i + 1));
        addressRow->addWidget(part);
    }
    form->addRow(address);

    auto* find = new QPushButton("Find Trackers...");
    find->setToolTip("Finds the IP address of the Trackers on the network");
    form->addRow(find);

    auto* length = new QComboBox;
    length->addItems({"centimeters", "feet", "inches", "meters", "microns", "millimeters"});
    length->setCurrentIndex(3);
    form->addRow("Length:", length);

    auto* precision = new QSpinBox;
    precision->setRange(0, 15);
    precision->setValue(6);
    precision->setAccessibleName("Length precision");
    form->addRow(precision);

    auto* apps = new QListWidget;
    apps->addItems({"LevelCheck", "NetworkSetup"});
    apps->setAccessibleName("Applications");
    form->addRow(apps);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    auto* column = new QVBoxLayout(&dialog);
    column->addLayout(form);
    column->addWidget(buttons);
    return dialog.exec() == QDialog::Accepted ? 0 : 1;
}
