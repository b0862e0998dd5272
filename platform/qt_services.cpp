#include "platform/qt_services.h"

#include <QApplication>
#include <QCursor>
#include <QFileDialog>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QSettings>

namespace {
constexpr const char* SettingsName = "Lapidrastor";

QString ToQt(const std::string& s) {
    return QString::fromStdString(s);
}

QWidget* BoxParent() {
    return QApplication::activeWindow();
}

// A Qt file dialog set up from the request. The program asks its own overwrite question, so Qt's is off.
std::optional<std::string> RunFileDialog(const FileDialogRequest& request, QFileDialog::AcceptMode mode) {
    QFileDialog dialog(BoxParent(), ToQt(request.Title), ToQt(request.InitialDir),
                       ToQt(QtFilterText(request)));
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    dialog.setDefaultSuffix(ToQt(request.DefaultExt));
    if (!request.FileName.empty()) dialog.selectFile(ToQt(request.FileName));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return dialog.selectedFiles().first().toStdString();
}
} // namespace

std::string QtFilterText(const FileDialogRequest& dialog) {
    const std::string bracketed = "(" + dialog.Pattern + ")";
    const std::string& d = dialog.FilterDescription;
    if (d.size() >= bracketed.size() &&
        d.compare(d.size() - bracketed.size(), bracketed.size(), bracketed) == 0)
        return d;
    return d + " " + bracketed;
}

void QtMessageService::Beep() {
    QApplication::beep();
}

void QtMessageService::ShowError(const std::string& text) {
    QMessageBox::critical(BoxParent(), QObject::tr("Error"), ToQt(text), QMessageBox::Ok);
}

// Each button answers to its underlined letter, typed alone or with Alt; Escape and the close button
// answer Cancel.
Answer QtMessageService::Confirm(const std::string& text) {
    QMessageBox box(QMessageBox::Question, QObject::tr("Confirm"), ToQt(text), QMessageBox::NoButton,
                    BoxParent());
    QPushButton* yes = box.addButton(QObject::tr("&Yes"), QMessageBox::YesRole);
    QPushButton* no = box.addButton(QObject::tr("&No"), QMessageBox::NoRole);
    QPushButton* cancel = box.addButton(QObject::tr("&Cancel"), QMessageBox::RejectRole);
    box.setDefaultButton(yes);
    box.setEscapeButton(cancel);
    box.exec();
    if (box.clickedButton() == yes) return Answer::Yes;
    if (box.clickedButton() == no) return Answer::No;
    return Answer::Cancel;
}

std::optional<std::string> QtFileDialogService::OpenFile(const FileDialogRequest& dialog) {
    return RunFileDialog(dialog, QFileDialog::AcceptOpen);
}

std::optional<std::string> QtFileDialogService::SaveFile(const FileDialogRequest& dialog) {
    return RunFileDialog(dialog, QFileDialog::AcceptSave);
}

std::string QtSettingsStore::ReadString(const std::string& section, const std::string& name,
                                        const std::string& fallback) {
    // A damaged or unreadable file gives nothing to trust: the program starts from the fallbacks.
    if (!Readable) return fallback;
    QSettings settings(SettingsName, SettingsName);
    return settings.value(ToQt(section + "/" + name), ToQt(fallback)).toString().toStdString();
}

void QtSettingsStore::WriteString(const std::string& section, const std::string& name,
                                  const std::string& value) {
    QSettings settings(SettingsName, SettingsName);
    settings.setValue(ToQt(section + "/" + name), ToQt(value));
}

QtSettingsStore::QtSettingsStore() {
    QSettings settings(SettingsName, SettingsName);
    const std::string file = settings.fileName().toStdString();
    Readable = settings.status() == QSettings::NoError;
    if (settings.status() == QSettings::AccessError)
        Trouble = "The settings file " + file + " cannot be read: the recent files and folders start empty.";
    else if (settings.status() == QSettings::FormatError)
        Trouble = "The settings file " + file + " is damaged: the recent files and folders start empty.";
    else if (!settings.isWritable())
        Trouble = "The settings cannot be kept: " + file + " cannot be written.";
}

int QtWindowServices::ScreenWidth() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->size().width() : 800;
}

int QtWindowServices::ScreenHeight() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->size().height() : 600;
}

void QtWindowServices::SetCursorPos(int x, int y) {
    QCursor::setPos(x, y);
}

void QtWindowServices::ProcessPendingEvents() {
    QCoreApplication::processEvents();
}

void QtWindowServices::EndApplication() {
    QCoreApplication::quit();
}

void QtProgressSink::Show(int maximum, int position, int step) {
    StepSize = step;
    Bar.setRange(0, maximum);
    Bar.setValue(position);
    Bar.show();
    Bar.repaint();
}

// The bar repaints itself at once when its drawn length changes, and only then: a repaint at every step
// cost more than a recompute of a few hundred facets.
void QtProgressSink::Step() {
    Bar.setValue(std::min(Bar.maximum(), Bar.value() + StepSize));
}

void QtProgressSink::Hide() {
    Bar.hide();
}
