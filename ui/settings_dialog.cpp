#include "ui/settings_dialog.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QStyle>
#include <QValidator>

#include <algorithm>

#include "core/settings.h"
#include "core/text.h"
#include "gui/qt_text.h"
#include "ui/dialog_units.h"

namespace quelna {

namespace {

constexpr int kFontPointSize = 10;

// The title goes into the settings file and onto the slides as CP1251 text on one line, so only
// characters the code page holds are accepted, and no control characters.
class TitleValidator : public QValidator {
  public:
    using QValidator::QValidator;
    State validate(QString& input, int& /*pos*/) const override {
        for (const char32_t c : input.toUcs4()) {
            if (c < 0x20 || c == 0x7f || !isCp1251Representable(c))
                return Invalid;
        }
        return Acceptable;
    }
};

// Texts and the widths they are given, so the dialog can grow until each one is readable.
DialogUnits fittedUnits(const QFont& font, const QStyle* style) {
    const int checkBox = style->pixelMetric(QStyle::PM_IndicatorWidth) +
                         style->pixelMetric(QStyle::PM_CheckBoxLabelSpacing) + 4;
    QSpinBox probe;
    probe.setFont(font);
    probe.setRange(0, 50);
    probe.setGroupSeparatorShown(false);
    const int spin = probe.minimumSizeHint().width();
    return DialogUnits::fitting(
        font, {{QStringLiteral(u" Рассадка полным перебором "), 156, 24},
               {QStringLiteral(u" Рассадка подбором "), 156, 24},
               {QStringLiteral(u" Показ слайдов "), 156, 24},
               {QStringLiteral(u"Таймаут в минутах:"), 92, 2},
               {QStringLiteral(u"Столов с пересечениями:"), 92, 2},
               {QStringLiteral(u"Столов с фикс. рассадкой:"), 92, 2},
               {QStringLiteral(u"Автосохранение результатов"), 112, checkBox},
               {QStringLiteral(u"Название турнира (в заголовке слайда):"), 135, 2},
               {QStringLiteral(u"Вывод на дополнительный монитор"), 140, checkBox},
               {QStringLiteral(u"Интервал между слайдами, сек:"), 105, 2},
               {QStringLiteral(u"Кол-во столов на слайде:"), 84, 2},
               {QStringLiteral(u"Кол-во строк на слайде:"), 112, 2},
               {QString(), 20, spin}});
}

} // namespace

SettingsDialog::SettingsDialog(int tableCount, QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral(u"Параметры"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setFont(dialogFont(kFontPointSize));
    const DialogUnits du = fittedUnits(font(), style());
    setFixedSize(du.size(170, 263));
    const Settings& s = settings();
    const int tables = std::max(0, tableCount);

    auto addLabel = [&](int id, const QString& text, const QRect& rect) {
        auto* label = new QLabel(text, this);
        label->setGeometry(rect);
        if (id != 0)
            controls_.insert(id, label);
        return label;
    };
    // Group boxes are frames behind their controls, as in the layout: siblings, created first.
    auto addGroup = [&](int id, const QString& title, const QRect& rect) {
        auto* group = new QGroupBox(title, this);
        group->setGeometry(rect);
        controls_.insert(id, group);
    };

    addGroup(ExhaustiveGroup, QStringLiteral(u" Рассадка полным перебором "),
             du.rect(8, 4, 156, 48));
    addLabel(ExhaustiveTimeoutLabel, QStringLiteral(u"Таймаут в минутах:"),
             du.rect(16, 16, 92, 12));
    exhaustiveTimeout_ = addNumber(ExhaustiveTimeoutEdit, ExhaustiveTimeoutUpDown,
                                   du.rect(136, 16, 20, 12), 0, 10, s.exhaustiveTimeout);
    addLabel(OverlapTablesLabel, QStringLiteral(u"Столов с пересечениями:"),
             du.rect(16, 32, 92, 12));
    overlapTables_ = addNumber(OverlapTablesEdit, OverlapTablesUpDown, du.rect(136, 32, 20, 12), 0,
                               tables, s.overlapTables);
    overlapTables_->setToolTip(
        QStringLiteral(u"Количество столов \"снизу\", на которых возможны пересечения игроков."));

    addGroup(RandomGroup, QStringLiteral(u" Рассадка подбором "), du.rect(8, 56, 156, 48));
    addLabel(RandomTimeoutLabel, QStringLiteral(u"Таймаут в минутах:"), du.rect(16, 68, 92, 12));
    randomTimeout_ = addNumber(RandomTimeoutEdit, RandomTimeoutUpDown, du.rect(136, 68, 20, 12), 0,
                               10, s.randomTimeout);
    addLabel(FixedTablesLabel, QStringLiteral(u"Столов с фикс. рассадкой:"),
             du.rect(16, 84, 92, 12));
    fixedTables_ = addNumber(FixedTablesEdit, FixedTablesUpDown, du.rect(136, 84, 20, 12), 0,
                             tables, s.fixedTables);
    fixedTables_->setToolTip(QStringLiteral(u"Количество столов \"сверху\", для которых "
                                            u"производится фиксированная рассадка наилучшим "
                                            u"методом."));

    autosave_ = new QCheckBox(QStringLiteral(u"Автосохранение результатов"), this);
    autosave_->setGeometry(du.rect(8, 108, 112, 12));
    autosave_->setChecked(s.autosave);
    autosave_->setToolTip(
        QStringLiteral(u"Автоматическое сохранение результатов для каждого тура перед рассадкой"));
    controls_.insert(AutosaveCheck, autosave_);

    planAhead_ = new QCheckBox(QStringLiteral(u"Планировать рассадку до конца турнира"), this);
    planAhead_->setObjectName(QStringLiteral(u"planAheadCheck"));
    planAhead_->setGeometry(du.rect(8, 122, 156, 12));
    planAhead_->setChecked(s.planAhead);
    planAhead_->setToolTip(QStringLiteral(
        u"Рассаживать каждый тур так, чтобы следующие туры тоже можно было рассадить без "
        u"повторных встреч"));
    controls_.insert(PlanAheadCheck, planAhead_);

    addGroup(SlidesGroup, QStringLiteral(u" Показ слайдов "), du.rect(8, 138, 156, 104));
    addLabel(TitleLabel, QStringLiteral(u"Название турнира (в заголовке слайда):"),
             du.rect(16, 150, 135, 8));
    title_ = new QLineEdit(this);
    title_->setGeometry(du.rect(16, 158, 140, 12));
    title_->setMaxLength(kMaxTitleLength);
    title_->setValidator(new TitleValidator(title_));
    title_->setText(fromRecord(s.tournamentTitle));
    controls_.insert(TitleEdit, title_);

    secondary_ = new QCheckBox(QStringLiteral(u"Вывод на дополнительный монитор"), this);
    secondary_->setGeometry(du.rect(16, 174, 140, 12));
    secondary_->setChecked(s.showOnSecondary);
    secondary_->setEnabled(s.secondaryAvailable);
    controls_.insert(SecondaryCheck, secondary_);

    addLabel(IntervalLabel, QStringLiteral(u"Интервал между слайдами, сек:"),
             du.rect(16, 190, 105, 12));
    interval_ =
        addNumber(IntervalEdit, IntervalUpDown, du.rect(136, 190, 20, 12), 5, 20, s.slideInterval);
    addLabel(TablesLabel, QStringLiteral(u"Кол-во столов на слайде:"), du.rect(16, 206, 84, 12));
    tablesX_ =
        addNumber(TablesXEdit, TablesXUpDown, du.rect(104, 206, 20, 12), 2, 4, s.slideTablesX);
    addLabel(0, QStringLiteral(u"X"), du.rect(124, 206, 10, 11))->setAlignment(Qt::AlignCenter);
    tablesY_ =
        addNumber(TablesYEdit, TablesYUpDown, du.rect(136, 206, 20, 12), 2, 4, s.slideTablesY);
    addLabel(LinesLabel, QStringLiteral(u"Кол-во строк на слайде:"), du.rect(16, 222, 112, 12));
    lines_ = addNumber(LinesEdit, LinesUpDown, du.rect(136, 222, 20, 12), 8, 32, s.slideLines);

    auto* cancel = new QPushButton(QStringLiteral(u"Отмена"), this);
    cancel->setGeometry(du.rect(72, 246, 48, 12));
    cancel->setAutoDefault(false);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    controls_.insert(CancelButton, cancel);

    auto* ok = new QPushButton(QStringLiteral(u"ОК"), this);
    ok->setGeometry(du.rect(124, 246, 40, 12));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, [this] {
        store();
        accept();
    });
    controls_.insert(OkButton, ok);

    exhaustiveTimeout_->setFocus();
}

QSpinBox* SettingsDialog::addNumber(int editId, int upDownId, const QRect& rect, int minimum,
                                    int maximum, int value) {
    auto* spin = new QSpinBox(this);
    // The arrows sit inside the edit's rectangle, which shrinks to make room for them.
    spin->setGeometry(rect);
    spin->setRange(minimum, maximum);
    spin->setGroupSeparatorShown(false);
    spin->setAlignment(Qt::AlignCenter);
    // A number typed outside the range (or an empty field) becomes the nearest bound, so the
    // engine and the slide show never see a value they cannot handle.
    spin->setCorrectionMode(QAbstractSpinBox::CorrectToNearestValue);
    spin->setValue(value);
    controls_.insert(editId, spin);
    controls_.insert(upDownId, spin);
    return spin;
}

void SettingsDialog::store() {
    for (QSpinBox* spin : {exhaustiveTimeout_, overlapTables_, randomTimeout_, fixedTables_,
                           interval_, tablesX_, tablesY_, lines_})
        spin->interpretText();
    Settings& s = settings();
    s.exhaustiveTimeout = exhaustiveTimeout_->value();
    s.overlapTables = overlapTables_->value();
    s.randomTimeout = randomTimeout_->value();
    s.fixedTables = fixedTables_->value();
    s.autosave = autosave_->isChecked();
    s.planAhead = planAhead_->isChecked();
    s.tournamentTitle = toRecord(title_->text()).substr(0, kMaxTitleLength);
    s.showOnSecondary = secondary_->isChecked();
    s.slideInterval = interval_->value();
    s.slideTablesX = tablesX_->value();
    s.slideTablesY = tablesY_->value();
    s.slideLines = lines_->value();
}

} // namespace quelna
