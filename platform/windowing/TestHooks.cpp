// Answers for the next dialogs, and grabbing a window to a PNG.

#include "platform/windowing/TestHooks.h"

#include "platform/windowing/detail/Dialogs.h"
#include "platform/windowing/detail/RedrawCount.h"
#include "platform/windowing/detail/WindowObject.h"

#include <QCursor>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>

#include <deque>
#include <unordered_map>

namespace kelvarn::platform {
namespace {

std::deque<std::function<int(const MessageBoxSeen&)>>& boxAnswers() {
    static std::deque<std::function<int(const MessageBoxSeen&)>> answers;
    return answers;
}

std::deque<std::function<std::optional<std::string>(const FolderDialogSeen&)>>& folderAnswers() {
    static std::deque<std::function<std::optional<std::string>(const FolderDialogSeen&)>> answers;
    return answers;
}

std::unordered_map<WindowHandle, int>& redrawCounts() {
    static std::unordered_map<WindowHandle, int> counts;
    return counts;
}

} // namespace

void answerNextMessageBox(std::function<int(const MessageBoxSeen&)> answer) {
    boxAnswers().push_back(std::move(answer));
}

void answerNextFolderDialog(
    std::function<std::optional<std::string>(const FolderDialogSeen&)> answer) {
    folderAnswers().push_back(std::move(answer));
}

int pendingDialogAnswers() {
    return int(boxAnswers().size() + folderAnswers().size());
}

int redrawRequests(WindowHandle window) {
    auto it = redrawCounts().find(window);
    return it == redrawCounts().end() ? 0 : it->second;
}

bool grabWindowToPng(WindowHandle window, const std::string& path) {
    detail::WindowObject* w = detail::findWindow(window);
    if (!w || !w->m_widget)
        return false;
    const QPixmap pixmap = w->m_widget->grab();
    return !pixmap.isNull() &&
           pixmap.save(QFile::decodeName(QByteArray(path.data(), qsizetype(path.size()))), "PNG");
}

bool busyPointerShown() {
    const QCursor* cursor = QGuiApplication::overrideCursor();
    return cursor && cursor->shape() == Qt::WaitCursor;
}

std::optional<Colour> windowPixel(WindowHandle window, Point client) {
    detail::WindowObject* w = detail::findWindow(window);
    if (!w || !w->m_widget)
        return std::nullopt;
    const QImage image = w->m_widget->grab().toImage();
    const QPoint p = w->clientOrigin() + QPoint(client.x, client.y);
    if (!image.rect().contains(p))
        return std::nullopt;
    const QRgb rgb = image.pixel(p);
    return Colour(qRed(rgb)) | (Colour(qGreen(rgb)) << 8) | (Colour(qBlue(rgb)) << 16);
}

namespace detail {

void noteRedrawRequest(WindowHandle window) {
    ++redrawCounts()[window];
}

std::function<int(const MessageBoxSeen&)> takeMessageBoxAnswer() {
    if (boxAnswers().empty())
        return {};
    auto answer = std::move(boxAnswers().front());
    boxAnswers().pop_front();
    return answer;
}

std::function<std::optional<std::string>(const FolderDialogSeen&)> takeFolderAnswer() {
    if (folderAnswers().empty())
        return {};
    auto answer = std::move(folderAnswers().front());
    folderAnswers().pop_front();
    return answer;
}

} // namespace detail
} // namespace kelvarn::platform
