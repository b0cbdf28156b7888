// "msctls_updown32": a pair of arrow buttons with a range and a position. A click asks the
// parent first (kWmNotify kUdnDeltaPos; a non-zero answer refuses the step), then moves the
// position and reports it with kWmVScroll (kWmHScroll for the horizontal form).

#include "platform/windowing/MessageQueue.h"
#include "platform/windowing/Messages.h"
#include "platform/windowing/Styles.h"
#include "platform/windowing/Window.h"
#include "platform/windowing/detail/Controls.h"

#include <QBoxLayout>
#include <QToolButton>

namespace kelvarn::platform::detail {

bool UpDownObject::build(QWidget* parent) {
    auto* widget = new QWidget(parent);
    const bool horizontal = (m_style & kUdsHorz) != 0;
    QBoxLayout* layout = horizontal ? static_cast<QBoxLayout*>(new QHBoxLayout(widget))
                                    : static_cast<QBoxLayout*>(new QVBoxLayout(widget));
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    m_up = new QToolButton(widget);
    m_down = new QToolButton(widget);
    m_up->setArrowType(horizontal ? Qt::RightArrow : Qt::UpArrow);
    m_down->setArrowType(horizontal ? Qt::LeftArrow : Qt::DownArrow);
    for (QToolButton* b : {m_up, m_down}) {
        b->setAutoRepeat(true);
        b->setFocusPolicy(Qt::NoFocus);
        b->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
        b->setMouseTracking(true);
    }
    if (horizontal) {
        layout->addWidget(m_down);
        layout->addWidget(m_up);
    } else {
        layout->addWidget(m_up);
        layout->addWidget(m_down);
    }
    QObject::connect(m_up, &QToolButton::clicked, [this] { step(+1); });
    QObject::connect(m_down, &QToolButton::clicked, [this] { step(-1); });
    widget->setMouseTracking(true);
    m_widget = widget;
    return true;
}

void UpDownObject::step(int direction) {
    // The up arrow moves towards the maximum, whichever way the range runs.
    const int delta = m_max >= m_min ? direction : -direction;
    if (m_parent) {
        NotifyUpDown notify;
        notify.header.from = m_handle;
        notify.header.id = m_id;
        notify.header.code = kUdnDeltaPos;
        notify.pos = m_pos;
        notify.delta = delta;
        if (sendMessage(m_parent, kWmNotify, m_id, reinterpret_cast<LParam>(&notify)) != 0)
            return;
        if (!findWindow(m_handle))
            return;
    }
    const int low = std::min(m_min, m_max);
    const int high = std::max(m_min, m_max);
    int pos = m_pos + delta;
    if (pos < low || pos > high) {
        if (m_style & kUdsWrap)
            pos = pos < low ? high : low;
        else
            pos = std::clamp(pos, low, high);
    }
    setPosition(pos);
    if (m_parent) {
        const std::uint32_t scroll = (m_style & kUdsHorz) ? kWmHScroll : kWmVScroll;
        sendMessage(m_parent, scroll, makeWParam(kSbThumbPosition, std::uint32_t(m_pos)),
                    static_cast<LParam>(m_handle));
        sendMessage(m_parent, scroll, makeWParam(kSbEndScroll, std::uint32_t(m_pos)),
                    static_cast<LParam>(m_handle));
    }
}

void UpDownObject::setPosition(int pos) {
    m_pos = pos;
    if ((m_style & kUdsSetBuddyInt) && isWindow(m_buddy))
        setWindowText(m_buddy, std::to_string(pos));
}

LResult UpDownObject::classProc(std::uint32_t message, WParam wParam, LParam lParam) {
    const auto clampToRange = [this](int pos) {
        return std::clamp(pos, std::min(m_min, m_max), std::max(m_min, m_max));
    };
    switch (message) {
    case kUdmSetRange:
        m_min = static_cast<std::int16_t>(hiWord(static_cast<std::uintptr_t>(lParam)));
        m_max = static_cast<std::int16_t>(loWord(static_cast<std::uintptr_t>(lParam)));
        m_pos = clampToRange(m_pos);
        return 0;
    case kUdmGetRange:
        return makeLParam(m_max, m_min);
    case kUdmSetRange32:
        m_min = static_cast<int>(static_cast<std::intptr_t>(wParam));
        m_max = static_cast<int>(lParam);
        m_pos = clampToRange(m_pos);
        return 0;
    case kUdmGetRange32:
        if (wParam)
            *reinterpret_cast<int*>(wParam) = m_min;
        if (lParam)
            *reinterpret_cast<int*>(lParam) = m_max;
        return 0;
    case kUdmSetPos:
    case kUdmSetPos32: {
        const int previous = m_pos;
        const int pos = message == kUdmSetPos
                            ? static_cast<std::int16_t>(loWord(static_cast<std::uintptr_t>(lParam)))
                            : static_cast<int>(lParam);
        setPosition(clampToRange(pos));
        return previous;
    }
    case kUdmGetPos:
        return makeLParam(m_pos, 0);
    case kUdmGetPos32:
        return m_pos;
    case kUdmSetBuddy: {
        const WindowHandle previous = m_buddy;
        m_buddy = static_cast<WindowHandle>(wParam);
        return static_cast<LResult>(previous);
    }
    case kUdmGetBuddy:
        return static_cast<LResult>(m_buddy);
    default:
        return defaultWindowProc(m_handle, message, wParam, lParam);
    }
}

} // namespace kelvarn::platform::detail
