#include "ui/parameters_dialog.h"

#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QStyle>

#include <algorithm>

#include "core/settings.h"
#include "core/tournament_size.h"
#include "files/file_commands.h"
#include "ui/dialog_units.h"
#include "ui/resume_offer.h"

namespace quelna {

namespace {

constexpr int kFontPointSize = 14;

// An unsigned decimal; empty or unreadable text (also a number too long to hold) reads as 0.
int readUnsigned(const QLineEdit* edit) {
    bool ok = false;
    const uint value = edit->text().toUInt(&ok);
    return ok && value <= 100000u ? static_cast<int>(value) : 0;
}

QLineEdit* digitsEdit(QWidget* parent) {
    auto* edit = new QLineEdit(parent);
    edit->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral(u"[0-9]*")), edit));
    return edit;
}

} // namespace

ParametersDialog::ParametersDialog(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral(u"Параметры"));
    // Caption and close box only: no help button, no resizing.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setFont(dialogFont(kFontPointSize));
    const int checkBox = style()->pixelMetric(QStyle::PM_IndicatorWidth) +
                         style()->pixelMetric(QStyle::PM_CheckBoxLabelSpacing) + 4;
    const DialogUnits du =
        DialogUnits::fitting(font(), {{QStringLiteral(u"Число игроков"), 60, 2},
                                      {QStringLiteral(u"Число туров"), 60, 2},
                                      {QStringLiteral(u"Тест-режим"), 60, checkBox},
                                      {QStringLiteral(u"200"), 20, 8}});
    setFixedSize(du.size(100, 89));

    auto* playersLabel = new QLabel(QStringLiteral(u"Число игроков"), this);
    playersLabel->setGeometry(du.rect(8, 8, 60, 8));
    controls_.insert(PlayersLabel, playersLabel);

    playersEdit_ = digitsEdit(this);
    playersEdit_->setGeometry(du.rect(72, 8, 20, 12));
    playersEdit_->setText(QStringLiteral(u"16"));
    playersEdit_->setToolTip(
        QStringLiteral(u"Количество игроков в турнире (должно быть кратно четырём)"));
    controls_.insert(PlayersEdit, playersEdit_);

    auto* roundsLabel = new QLabel(QStringLiteral(u"Число туров"), this);
    roundsLabel->setGeometry(du.rect(8, 24, 60, 8));
    controls_.insert(RoundsLabel, roundsLabel);

    roundsEdit_ = digitsEdit(this);
    roundsEdit_->setGeometry(du.rect(72, 24, 20, 12));
    roundsEdit_->setText(QStringLiteral(u"4"));
    roundsEdit_->setToolTip(QStringLiteral(u"Количество туров в турнире (от 2 до 12)"));
    controls_.insert(RoundsEdit, roundsEdit_);

    testModeCheck_ = new QCheckBox(QStringLiteral(u"Тест-режим"), this);
    testModeCheck_->setGeometry(du.rect(8, 40, 60, 10));
    testModeCheck_->setToolTip(QStringLiteral(
        u"В тестовом режиме можно проводить виртуальные розыгрыши туров для тестирования "
        u"программы и проверки загрузки/выгрузки данных."));
    controls_.insert(TestModeCheck, testModeCheck_);

    auto* ok = new QPushButton(QStringLiteral(u"OK"), this);
    ok->setGeometry(du.rect(8, 56, 84, 12));
    ok->setDefault(true);
    ok->setAutoDefault(true);
    connect(ok, &QPushButton::clicked, this, &ParametersDialog::onOk);
    controls_.insert(OkButton, ok);

    // Resuming a tournament: its file knows N and R, so nothing typed above counts.
    auto* open = new QPushButton(QStringLiteral(u"Открыть турнир..."), this);
    open->setGeometry(du.rect(8, 72, 84, 12));
    open->setAutoDefault(false);
    connect(open, &QPushButton::clicked, this, &ParametersDialog::onOpen);
    controls_.insert(OpenButton, open);

    playersEdit_->setFocus();
}

bool ParametersDialog::validParameters(int players, int rounds) {
    return !tournamentSizeProblem(players, rounds);
}

void ParametersDialog::keyPressEvent(QKeyEvent* event) {
    // Esc does not end this dialog; only the close box does.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void ParametersDialog::onOk() {
    const int players = readUnsigned(playersEdit_);
    const int rounds = readUnsigned(roundsEdit_);
    if (!validParameters(players, rounds)) {
        QMessageBox::critical(
            this, QStringLiteral(u"Ошибка"),
            QStringLiteral(u"Неверные параметры!\n"
                           u"Число игроков должно быть кратно четырём, не более 200 и не менее "
                           u"12.\nЧисло туров должно быть от 2 до 12."));
        return;
    }
    acceptSize(players, rounds);
}

void ParametersDialog::onOpen() {
    const QString fileName = askOpenFileName(this);
    if (fileName.isEmpty())
        return;
    int players = 0, rounds = 0;
    if (!tournamentFileSize(fileName, players, rounds)) {
        QMessageBox::critical(this, QStringLiteral(u"Ошибка"),
                              QStringLiteral(u"Ошибка при чтении из файла!"));
        return;
    }
    tournamentFile_ = fileName;
    acceptSize(players, rounds);
}

void ParametersDialog::acceptSize(int players, int rounds) {
    playerCount_ = players;
    roundCount_ = rounds;
    testMode_ = testModeCheck_->isChecked();
    limitTableOptions(players);
    done(1);
}

void ParametersDialog::limitTableOptions(int players) {
    Settings& s = settings();
    s.fixedTables = std::min(s.fixedTables, players / 4);
    s.overlapTables = std::min(s.overlapTables, players / 4);
}

} // namespace quelna
