#pragma once
// Shared by the window and dialog tests: settings given back, typing like an organiser, answering
// message boxes, and small file helpers.
#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QByteArray>
#include <QFile>
#include <QLineEdit>
#include <QMessageBox>
#include <QString>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "core/settings.h"
#include "core/tournament.h"
#include "files/tournament_csv.h"

namespace quelna::uitest {

// Gives the process-wide settings back when a test is done with them.
struct SettingsGuard {
    SettingsGuard() : saved(settings()) {}
    ~SettingsGuard() { settings() = saved; }
    Settings saved;
};

// Types text key by key; characters beyond ASCII arrive as key events carrying their text, the
// way an input method delivers them.
inline void typeText(QWidget* w, const QString& text) {
    for (const QChar c : text) {
        if (c.unicode() >= 0x20 && c.unicode() < 0x7f)
            QTest::keyClick(w, char(c.unicode()));
        else
            QTest::sendKeyEvent(QTest::Click, w, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}

// Replaces what a field holds the way the organiser does: select all, delete, type.
inline void replaceText(QLineEdit* e, const QString& text) {
    e->setFocus();
    e->selectAll();
    QTest::keyClick(e, Qt::Key_Delete);
    typeText(e, text);
}
inline void replaceText(QAbstractSpinBox* s, const QString& text) {
    s->setFocus();
    s->selectAll();
    QTest::keyClick(s, Qt::Key_Delete);
    typeText(s, text);
}

struct SeenBox {
    QString title;
    QString text;
    QMessageBox::Icon icon;
};

// Answers every message box that opens while it lives, noting what it said.
class MessageBoxCatcher {
  public:
    MessageBoxCatcher() {
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box || !box->isVisible())
                return;
            seen.push_back({box->windowTitle(), box->text(), box->icon()});
            QTest::mouseClick(box->buttons().constFirst(), Qt::LeftButton);
        });
        timer_.start(10);
    }
    std::vector<SeenBox> seen;

  private:
    QTimer timer_;
};

// The one error box every failed check of a dialog or a file command shows.
inline void expectError(const SeenBox& box, const QString& text) {
    EXPECT_EQ(box.title, QStringLiteral(u"Ошибка"));
    EXPECT_EQ(box.text, text);
    EXPECT_EQ(box.icon, QMessageBox::Critical);
}

inline QByteArray fileBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

inline void writeFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

inline std::string csvText(const Tournament& t) {
    std::ostringstream out;
    EXPECT_TRUE(writeTournamentCsv(t, out));
    return out.str();
}

// Saves a picture of a dialog into $QUELNA_SCREENSHOTS when that is set.
inline void dialogShot(QWidget* d, const char* name) {
    const QString shots = qEnvironmentVariable("QUELNA_SCREENSHOTS");
    if (!shots.isEmpty()) {
        EXPECT_TRUE(d->grab().save(shots + QLatin1Char('/') + QLatin1String(name)));
    }
}

} // namespace quelna::uitest
