// The folder browser: Qt's own (non-native) file dialog in directory mode, so that tests can
// drive it.

#include "platform/windowing/FolderBrowser.h"

#include "platform/files/Codepage.h"
#include "platform/windowing/Application.h"
#include "platform/windowing/detail/Dialogs.h"
#include "platform/windowing/detail/QtText.h"
#include "platform/windowing/detail/WindowObject.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

namespace kelvarn::platform {
namespace {

// With files included the dialog accepts an existing file as well as a folder.
class FolderDialog : public QFileDialog {
public:
    FolderDialog(QWidget* parent, bool includeFiles)
        : QFileDialog(parent), m_includeFiles(includeFiles) {}

    void accept() override {
        if (!m_includeFiles) {
            QFileDialog::accept();
            return;
        }
        const QStringList files = selectedFiles();
        if (!files.isEmpty() && QFileInfo::exists(files.first()))
            QDialog::accept();
    }

private:
    bool m_includeFiles;
};

void clickButton(QFileDialog& dialog, QDialogButtonBox::StandardButton which) {
    auto* box = dialog.findChild<QDialogButtonBox*>(QStringLiteral("buttonBox"));
    QPushButton* button = box ? box->button(which) : nullptr;
    if (button && button->isEnabled())
        button->click();
    else if (which == QDialogButtonBox::Cancel)
        dialog.reject();
    else
        QMetaObject::invokeMethod(&dialog, "accept");
}

// What the open dialog shows, for the test hook.
void readTexts(const QFileDialog& dialog, FolderDialogSeen& seen) {
    for (const QLabel* label : dialog.findChildren<QLabel*>())
        if (label->isVisible() && !label->text().isEmpty())
            seen.labels.push_back(detail::toRuntime(label->text()));
    for (const QPushButton* button : dialog.findChildren<QPushButton*>())
        if (button->isVisible() && !button->text().isEmpty())
            seen.buttons.push_back(detail::toRuntime(button->text()));
}

} // namespace

std::optional<std::string> browseForFolder(WindowHandle owner, std::string_view instruction,
                                           bool includeFiles) {
    if (!windowingStarted())
        return std::nullopt;
    detail::WindowObject* ownerWindow = detail::findWindow(owner);
    QWidget* ownerWidget =
        ownerWindow && ownerWindow->m_widget ? ownerWindow->m_widget->window() : nullptr;

    FolderDialog dialog(nullptr, includeFiles);
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly, !includeFiles);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setDirectory(QDir::homePath());
    const QString title = detail::fromRuntime(instruction);
    dialog.setWindowTitle(title.isEmpty() ? QString::fromUtf8("浏览文件夹") : title);

    std::function<void()> answer;
    if (auto hook = detail::takeFolderAnswer()) {
        FolderDialogSeen seen{owner, std::string(instruction), includeFiles, {}, {}};
        answer = [&dialog, hook, seen]() mutable {
            readTexts(dialog, seen);
            const std::optional<std::string> path = hook(seen);
            if (!path) {
                clickButton(dialog, QDialogButtonBox::Cancel);
                return;
            }
            const QString native = QFile::decodeName(QByteArray::fromStdString(*path));
            if (auto* edit = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit")))
                edit->setText(native);
            else
                dialog.selectFile(native);
            clickButton(dialog, QDialogButtonBox::Open);
            // A path the dialog refuses leaves it open; the answer then counts as a cancel.
            QTimer::singleShot(0, &dialog, [&dialog] {
                if (dialog.isVisible())
                    dialog.reject();
            });
        };
    }
    const bool completed = detail::runModalDialog(dialog, answer, ownerWidget);
    if (!completed || dialog.result() != QDialog::Accepted)
        return std::nullopt;
    const QStringList files = dialog.selectedFiles();
    if (files.isEmpty() || files.first().isEmpty())
        return std::nullopt;
    // cleanPath drops a trailing "/" except for the root itself.
    const QByteArray bytes = QFile::encodeName(QDir::cleanPath(files.first()));
    return utf8ToGb(std::string_view(bytes.constData(), std::size_t(bytes.size())));
}

} // namespace kelvarn::platform
