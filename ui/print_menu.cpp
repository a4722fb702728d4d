#include "ui/print_menu.h"

#include <QAction>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <algorithm>

#include "core/settings.h"
#include "core/tournament.h"
#include "files/file_commands.h"
#include "gui/qt_text.h"

namespace quelna {

namespace {

PrintDialogHook& printHook() {
    static PrintDialogHook hook;
    return hook;
}

PdfDialogHook& pdfHook() {
    static PdfDialogHook hook;
    return hook;
}

constexpr int kDocumentIds[4] = {ids::kPrintScoreSheets, ids::kPrintWallList, ids::kPrintTableList,
                                 ids::kPrintStandings};

QString tournamentTitle() {
    return fromRecord(settings().tournamentTitle);
}

QString pdfFilter(PrintDocument doc) {
    return documentName(doc) + QStringLiteral(u" (*.pdf)");
}

std::optional<PdfChoice> askPdfFile(QWidget* owner, const std::vector<QString>& names,
                                    const std::vector<PrintDocument>& offered) {
    if (pdfHook())
        return pdfHook()(names.front(), offered);
    // The file type chooses the document, so one command saves any of them.
    QStringList filters;
    for (PrintDocument doc : offered)
        filters << pdfFilter(doc);
    QFileDialog dialog(owner, QStringLiteral(u"Сохранить в PDF"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilters(filters);
    dialog.setDefaultSuffix(QStringLiteral(u"pdf"));
    const QString folder = tournamentFolder();
    if (!folder.isEmpty())
        dialog.setDirectory(folder);
    dialog.selectFile(names.front());
    // Another document chosen: its own name, unless the organiser typed one of his own.
    auto* nameEdit = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    const auto proposed = [&](const QString& name) {
        return std::find(names.begin(), names.end(), name) != names.end();
    };
    if (nameEdit) {
        QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog,
                         [&](const QString& filter) {
                             const qsizetype i = filters.indexOf(filter);
                             if (i >= 0 && proposed(nameEdit->text()))
                                 dialog.selectFile(names[static_cast<size_t>(i)]);
                         });
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    const qsizetype chosen = filters.indexOf(dialog.selectedNameFilter());
    const size_t document = chosen >= 0 ? static_cast<size_t>(chosen) : 0;
    PdfChoice choice;
    choice.path = dialog.selectedFiles().constFirst();
    choice.document = offered[document];
    // The system's own dialog cannot be renamed while open (a name given then arrives as a
    // whole path, which Windows refuses as a file name), so a proposed name is matched to the
    // chosen document once it closes; never onto a file the dialog did not ask about.
    const QFileInfo file(choice.path);
    const QString matched = file.dir().filePath(names[document]);
    if (!nameEdit && proposed(file.fileName()) && !QFileInfo::exists(matched))
        choice.path = matched;
    return choice;
}

void showError(QWidget* owner, const QString& text) {
    QMessageBox::critical(owner, QStringLiteral(u"Ошибка"), text);
}

} // namespace

void setPrintDialogHook(PrintDialogHook hook) {
    printHook() = std::move(hook);
}

void setPdfDialogHook(PdfDialogHook hook) {
    pdfHook() = std::move(hook);
}

PrintMenu::PrintMenu(QMenuBar* bar, QWidget* owner, const Tournament& t,
                     std::function<void()> beforeOutput)
    : QObject(owner), owner_(owner), t_(t), beforeOutput_(std::move(beforeOutput)) {
    QMenu* menu = bar->addMenu(QStringLiteral(u"&Печать"));
    for (size_t i = 0; i < kPrintDocuments.size(); ++i) {
        const PrintDocument doc = kPrintDocuments[i];
        QAction* a = menu->addAction(documentName(doc));
        connect(a, &QAction::triggered, this, [this, doc] { print(doc); });
        actions_.insert(kDocumentIds[i], a);
        documentActions_[i] = a;
    }
    menu->addSeparator();
    QAction* pdf = menu->addAction(QStringLiteral(u"Сохранить в PDF..."));
    connect(pdf, &QAction::triggered, this, [this] { saveToPdf(); });
    actions_.insert(ids::kSavePdf, pdf);
    update();
}

void PrintMenu::update() {
    for (size_t i = 0; i < kPrintDocuments.size(); ++i)
        documentActions_[i]->setEnabled(hasSomethingToPrint(kPrintDocuments[i], t_));
}

void PrintMenu::print(PrintDocument doc) {
    if (!hasSomethingToPrint(doc, t_))
        return;
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(documentName(doc));
    printer.setPageSize(QPageSize(QPageSize::A4));
    bool accepted = false;
    if (printHook()) {
        accepted = printHook()(printer);
    } else {
        QPrintDialog dialog(&printer, owner_);
        dialog.setWindowTitle(documentName(doc));
        accepted = dialog.exec() == QDialog::Accepted;
    }
    if (!accepted)
        return;
    // Only now, so that a cancelled dialog leaves the record exactly as it was.
    if (beforeOutput_)
        beforeOutput_();
    if (printDocument(doc, t_, tournamentTitle(), printer) == 0)
        showError(owner_, QStringLiteral(u"Не удалось напечатать документ: принтер недоступен."));
}

void PrintMenu::saveToPdf() {
    std::vector<PrintDocument> offered;
    for (PrintDocument doc : kPrintDocuments)
        if (hasSomethingToPrint(doc, t_))
            offered.push_back(doc);
    const QString title = tournamentTitle();
    std::vector<QString> names;
    for (PrintDocument doc : offered)
        names.push_back(defaultPdfName(title, t_.currentRound, doc));
    const auto choice = askPdfFile(owner_, names, offered);
    if (!choice || choice->path.isEmpty() || !hasSomethingToPrint(choice->document, t_))
        return;
    if (beforeOutput_)
        beforeOutput_();
    if (!savePdf(choice->document, t_, title, choice->path))
        showError(owner_, QStringLiteral(u"Ошибка при записи в файл!"));
}

} // namespace quelna
