// "BUTTON": push and default-push buttons, check boxes, radio buttons and group boxes.

#include "platform/windowing/Messages.h"
#include "platform/windowing/Styles.h"
#include "platform/windowing/Window.h"
#include "platform/windowing/detail/Controls.h"
#include "platform/windowing/detail/QtText.h"

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QStyleOptionButton>
#include <QStylePainter>
#include <qdrawutil.h>

namespace kelvarn::platform::detail {
namespace {

Qt::Alignment horizontalAlignment(std::uint32_t style, Qt::Alignment fallback) {
    switch (style & kBsCenter) {
    case kBsCenter:
        return Qt::AlignHCenter;
    case kBsLeft:
        return Qt::AlignLeft;
    case kBsRight:
        return Qt::AlignRight;
    default:
        return fallback;
    }
}

Qt::Alignment verticalAlignment(std::uint32_t style) {
    switch (style & kBsVCenter) {
    case kBsTop:
        return Qt::AlignTop;
    case kBsBottom:
        return Qt::AlignBottom;
    default:
        return Qt::AlignVCenter;
    }
}

// A push button that lays its text out as the button styles say: alignment and, with the
// multi-line style, word wrap.
class PushButton : public QPushButton {
public:
    PushButton(ButtonObject* owner, QWidget* parent) : QPushButton(parent), m_owner(owner) {}

protected:
    void paintEvent(QPaintEvent*) override {
        QStylePainter painter(this);
        QStyleOptionButton option;
        initStyleOption(&option);
        option.text.clear();
        painter.drawControl(QStyle::CE_PushButtonBevel, option);
        QRect area = style()->subElementRect(QStyle::SE_PushButtonContents, &option, this);
        if (isDown())
            area.translate(style()->pixelMetric(QStyle::PM_ButtonShiftHorizontal, &option, this),
                           style()->pixelMetric(QStyle::PM_ButtonShiftVertical, &option, this));
        const std::uint32_t s = m_owner->m_style;
        int flags = int(horizontalAlignment(s, Qt::AlignHCenter) | verticalAlignment(s)) |
                    Qt::TextShowMnemonic;
        if (s & kBsMultiLine)
            flags |= Qt::TextWordWrap;
        if (!m_owner->m_picture.isNull()) {
            const QPixmap shown =
                isEnabled()
                    ? m_owner->m_picture
                    : QIcon(m_owner->m_picture).pixmap(m_owner->m_picture.size(), QIcon::Disabled);
            painter.drawItemPixmap(area, flags & ~(Qt::TextShowMnemonic | Qt::TextWordWrap), shown);
            return;
        }
        painter.drawItemText(area, flags, palette(), isEnabled(), text(), QPalette::ButtonText);
    }

private:
    ButtonObject* m_owner;
};

// A group box drawn as the native one: an etched frame whose top runs through the middle of
// the caption, and no fill of its own, so the parent's button face shows through as it does
// around it.
class GroupBox : public QGroupBox {
public:
    using QGroupBox::QGroupBox;

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        const QFontMetrics metrics = fontMetrics();
        const QRect frame = rect().adjusted(0, metrics.height() / 2, 0, 0);
        qDrawShadeRect(&painter, frame, palette(), true, 1, 0);
        const QString caption = title();
        if (caption.isEmpty())
            return;
        constexpr int kCaptionInset = 8;
        const int width = std::min(metrics.horizontalAdvance(caption) + 4,
                                   std::max(0, rect().width() - 2 * kCaptionInset));
        int left = kCaptionInset;
        if (alignment() & Qt::AlignHCenter)
            left = (rect().width() - width) / 2;
        else if (alignment() & Qt::AlignRight)
            left = rect().width() - kCaptionInset - width;
        const QRect area(left, 0, width, metrics.height());
        painter.fillRect(area, palette().color(QPalette::Window));
        style()->drawItemText(&painter, area, int(Qt::AlignCenter) | Qt::TextShowMnemonic,
                              palette(), isEnabled(), caption, QPalette::WindowText);
    }
};

// Radio buttons and check boxes whose next state follows the button kind: an automatic radio
// button checks itself and unchecks the others of its group, a plain one leaves the state to
// its parent.
template <class Base> class StateButton : public Base {
public:
    StateButton(ButtonObject* owner, QWidget* parent) : Base(parent), m_owner(owner) {}

protected:
    void nextCheckState() override {
        switch (m_owner->kind()) {
        case kBsAutoRadioButton:
            m_owner->checkedByUser();
            break;
        case kBsAutoCheckBox:
            Base::nextCheckState();
            break;
        default:
            break;
        }
    }

private:
    ButtonObject* m_owner;
};

} // namespace

bool ButtonObject::build(QWidget* parent) {
    switch (kind()) {
    case kBsGroupBox: {
        auto* box = new GroupBox(parent);
        box->setMouseTracking(true);
        m_widget = box;
        return true;
    }
    case kBsRadioButton:
    case kBsAutoRadioButton:
        if (m_style & kBsPushLike) {
            auto* button = new StateButton<QPushButton>(this, parent);
            button->setCheckable(true);
            m_button = button;
        } else {
            auto* radio = new StateButton<QRadioButton>(this, parent);
            radio->setAutoExclusive(false);
            m_button = radio;
        }
        break;
    case kBsCheckBox:
    case kBsAutoCheckBox:
        m_button = new StateButton<QCheckBox>(this, parent);
        break;
    default:
        m_button = new PushButton(this, parent);
        break;
    }
    m_button->setMouseTracking(true);
    QObject::connect(m_button, &QAbstractButton::clicked,
                     [this] { notifyParent(*this, kBnClicked); });
    m_widget = m_button;
    return true;
}

void ButtonObject::checkedByUser() {
    if (!m_button)
        return;
    m_button->setChecked(true);
    if (!m_parent)
        return;
    // The group runs from the nearest sibling above with the group style to the next one.
    const std::vector<WindowHandle> siblings = childWindows(m_parent);
    const auto self = std::find(siblings.begin(), siblings.end(), m_handle);
    if (self == siblings.end())
        return;
    auto first = self;
    while (first != siblings.begin() && !(windowStyle(*first) & kWsGroup))
        --first;
    auto last = self + 1;
    while (last != siblings.end() && !(windowStyle(*last) & kWsGroup))
        ++last;
    for (auto it = first; it != last; ++it) {
        auto* other = dynamic_cast<ButtonObject*>(findWindow(*it));
        if (other && other != this && other->kind() == kBsAutoRadioButton && other->m_button)
            other->m_button->setChecked(false);
    }
}

void ButtonObject::applyText(const std::string& text) {
    const QString t = fromRuntime(text);
    if (m_button) {
        // A button showing a picture shows no caption; the text is kept for reading.
        m_button->setText(m_picture.isNull() ? t : QString());
        // "&" still underlines, but Alt with the letter is the caller's to handle (its
        // keyboard handling offers mnemonics to the controls), not a Qt shortcut.
        m_button->setShortcut(QKeySequence());
    } else if (auto* box = qobject_cast<QGroupBox*>(m_widget.data()))
        box->setTitle(t);
}

void ButtonObject::applyStyle() {
    if (auto* push = qobject_cast<QPushButton*>(m_button)) {
        push->setDefault(kind() == kBsDefPushButton);
        push->setFlat((m_style & kBsFlat) != 0);
    }
    if (m_button && kind() != kBsPushButton && kind() != kBsDefPushButton)
        m_button->setLayoutDirection((m_style & kBsLeftText) ? Qt::RightToLeft : Qt::LeftToRight);
    if (auto* box = qobject_cast<QGroupBox*>(m_widget.data()))
        box->setAlignment(horizontalAlignment(m_style, Qt::AlignLeft));
    if (m_widget)
        m_widget->update();
}

void ButtonObject::applyColours() {
    if (!m_widget)
        return;
    QPalette palette = QApplication::palette();
    const QColor text = toQColor(m_textColour, palette.color(QPalette::WindowText));
    const QColor back = toQColor(m_background, palette.color(QPalette::Button));
    palette.setColor(QPalette::WindowText, text);
    palette.setColor(QPalette::ButtonText, text);
    palette.setColor(QPalette::Window, back);
    m_widget->setPalette(palette);
    // Push buttons keep the button face; the others fill their rectangle with the background.
    m_widget->setAutoFillBackground(!qobject_cast<QPushButton*>(m_widget.data()) &&
                                    m_background != kSystemDefaultColour);
}

LResult ButtonObject::classProc(std::uint32_t message, WParam wParam, LParam lParam) {
    switch (message) {
    case kBmGetCheck:
        return m_button && m_button->isCheckable() && m_button->isChecked() ? kBstChecked
                                                                            : kBstUnchecked;
    case kBmSetCheck:
        if (m_button && m_button->isCheckable())
            m_button->setChecked(wParam == kBstChecked);
        return 0;
    case kBmGetState: {
        LResult state = 0;
        if (m_button) {
            if (m_button->isCheckable() && m_button->isChecked())
                state |= 1;
            if (m_button->isDown())
                state |= 4;
            if (m_button->hasFocus())
                state |= 8;
        }
        return state;
    }
    case kBmSetState:
        if (m_button)
            m_button->setDown(wParam != 0);
        return 0;
    case kBmSetStyle:
        m_style = (m_style & 0xFFFF0000u) | std::uint32_t(wParam & 0xFFFF);
        applyStyle();
        return 0;
    case kBmClick:
        if (m_button && m_button->isEnabled())
            m_button->click();
        return 0;
    default:
        return defaultWindowProc(m_handle, message, wParam, lParam);
    }
}

} // namespace kelvarn::platform::detail
