// The message box: a QMessageBox with the button set, icon and default button of the style
// bits, answering with the Windows button numbers.

#include "platform/windowing/MessageBox.h"

#include "platform/windowing/Application.h"
#include "platform/windowing/SessionEnd.h"
#include "platform/windowing/Styles.h"
#include "platform/windowing/detail/Dialogs.h"
#include "platform/windowing/detail/QtText.h"
#include "platform/windowing/detail/WindowObject.h"

#include <QAbstractButton>
#include <QMessageBox>
#include <QPushButton>

#include <cstdio>
#include <vector>

namespace kelvarn::platform {
namespace {

struct ButtonChoice {
    int id;
    const char* label; // UTF-8, as the system shows it on a Chinese desktop
    QMessageBox::ButtonRole role;
};

constexpr ButtonChoice kOk{kIdOk, "确定", QMessageBox::AcceptRole};
constexpr ButtonChoice kCancel{kIdCancel, "取消", QMessageBox::RejectRole};
// Roles that Qt would not take as the close button: these boxes cannot be closed otherwise.
constexpr ButtonChoice kAbort{kIdAbort, "中止(&A)", QMessageBox::ActionRole};
constexpr ButtonChoice kRetry{kIdRetry, "重试(&R)", QMessageBox::ActionRole};
constexpr ButtonChoice kIgnore{kIdIgnore, "忽略(&I)", QMessageBox::ActionRole};
constexpr ButtonChoice kYes{kIdYes, "是(&Y)", QMessageBox::ActionRole};
constexpr ButtonChoice kNo{kIdNo, "否(&N)", QMessageBox::ActionRole};

std::vector<ButtonChoice> buttonsFor(std::uint32_t style) {
    switch (style & kMbButtonMask) {
    case kMbOk:
        return {kOk};
    case kMbOkCancel:
        return {kOk, kCancel};
    case kMbAbortRetryIgnore:
        return {kAbort, kRetry, kIgnore};
    case kMbYesNoCancel:
        return {kYes, kNo, kCancel};
    case kMbYesNo:
        return {kYes, kNo};
    case kMbRetryCancel:
        return {kRetry, kCancel};
    default:
        return {};
    }
}

QMessageBox::Icon iconFor(std::uint32_t style) {
    switch (style & kMbIconMask) {
    case kMbIconHand:
        return QMessageBox::Critical;
    case kMbIconQuestion:
        return QMessageBox::Question;
    case kMbIconExclamation:
        return QMessageBox::Warning;
    case kMbIconAsterisk:
        return QMessageBox::Information;
    default:
        return QMessageBox::NoIcon;
    }
}

} // namespace

int messageBox(WindowHandle owner, std::string_view text, std::string_view caption,
               std::uint32_t style) {
    if (!windowingStarted())
        return 0;
    const std::vector<ButtonChoice> choices = buttonsFor(style);
    if (choices.empty())
        return 0;
    detail::WindowObject* ownerWindow = detail::findWindow(owner);
    QWidget* ownerWidget =
        ownerWindow && ownerWindow->m_widget ? ownerWindow->m_widget->window() : nullptr;

    QMessageBox box;
    box.setWindowTitle(detail::fromRuntime(caption));
    QString body = detail::fromRuntime(text);
    body.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    box.setTextFormat(Qt::PlainText);
    box.setText(body);
    box.setIcon(iconFor(style));

    std::vector<std::pair<QAbstractButton*, int>> buttons;
    for (const ButtonChoice& choice : choices)
        buttons.emplace_back(box.addButton(QString::fromUtf8(choice.label), choice.role),
                             choice.id);
    const std::size_t defaultIndex = (style & kMbDefMask) >> 8;
    const std::size_t chosenDefault = defaultIndex < buttons.size() ? defaultIndex : 0;
    box.setDefaultButton(static_cast<QPushButton*>(buttons[chosenDefault].first));
    int closeId = 0;
    for (const auto& [button, id] : buttons)
        if (id == kIdCancel)
            closeId = id;
    if (buttons.size() == 1)
        closeId = buttons.front().second;

    // Nobody is there to answer once the session ends: the text goes where a log would see it.
    if (sessionEnding()) {
        std::fprintf(stderr, "%s\n", body.toUtf8().constData());
        std::fflush(stderr);
        return closeId;
    }

    int pressed = 0;
    QObject::connect(&box, &QMessageBox::buttonClicked, &box, [&](QAbstractButton* clicked) {
        for (const auto& [button, id] : buttons)
            if (button == clicked)
                pressed = id;
    });

    std::function<void()> answer;
    if (auto hook = detail::takeMessageBoxAnswer()) {
        MessageBoxSeen seen;
        seen.owner = owner;
        seen.text = std::string(text);
        seen.caption = std::string(caption);
        seen.style = style;
        for (const auto& [button, id] : buttons)
            seen.buttons.push_back(id);
        seen.defaultButton = buttons[chosenDefault].second;
        answer = [&box, &buttons, hook, seen] {
            const int id = hook(seen);
            for (const auto& [button, buttonId] : buttons)
                if (buttonId == id) {
                    button->click();
                    return;
                }
            box.close(); // as the window's close button would
        };
    }
    if (!detail::runModalDialog(box, answer, ownerWidget))
        return 0;
    return pressed != 0 ? pressed : closeId;
}

} // namespace kelvarn::platform
