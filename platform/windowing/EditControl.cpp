// "EDIT": single-line (QLineEdit) and multi-line (QPlainTextEdit) edit controls. Positions at
// the interface are byte offsets into the runtime text, and a multi-line text uses CR LF, as
// in an ANSI edit control.

#include "platform/windowing/Messages.h"
#include "platform/windowing/Styles.h"
#include "platform/windowing/detail/Controls.h"
#include "platform/windowing/detail/QtText.h"

#include <QApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProxyStyle>
#include <QScrollBar>
#include <QTextBlock>

#include <utility>

namespace kelvarn::platform::detail {
namespace {

constexpr int kGrayText = 109;

class PasswordStyle : public QProxyStyle {
public:
    explicit PasswordStyle(int character) : m_character(character) {}
    void setCharacter(int character) { m_character = character; }
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* data) const override {
        if (hint == SH_LineEdit_PasswordCharacter)
            return m_character;
        return QProxyStyle::styleHint(hint, option, widget, data);
    }

private:
    int m_character;
};

QString crlfForm(const QString& plain) {
    QString out = plain;
    out.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
    return out;
}

// Index into the CR LF form -> index into the Qt form (one '\n' per line break).
int fromCrlfIndex(const QString& crlf, int index) {
    return index - int(crlf.left(index).count(QLatin1String("\r\n")));
}

int toCrlfIndex(const QString& plain, int index) {
    return index + int(plain.left(index).count(QLatin1Char('\n')));
}

// The text is being set by the program, for the scope's lifetime: the control's own change
// signal then reports nothing (kWmSetText reports once itself).
class SettingText {
public:
    explicit SettingText(EditObject& edit)
        : m_edit(edit), m_previous(std::exchange(edit.m_settingText, true)) {}
    ~SettingText() { m_edit.m_settingText = m_previous; }
    SettingText(const SettingText&) = delete;
    SettingText& operator=(const SettingText&) = delete;

private:
    EditObject& m_edit;
    bool m_previous;
};

} // namespace

bool EditObject::build(QWidget* parent) {
    if (m_style & kEsMultiLine) {
        m_plain = new QPlainTextEdit(parent);
        m_plain->setLineWrapMode((m_style & kEsAutoHScroll) ? QPlainTextEdit::NoWrap
                                                            : QPlainTextEdit::WidgetWidth);
        m_plain->setVerticalScrollBarPolicy((m_style & kWsVScroll) ? Qt::ScrollBarAlwaysOn
                                                                   : Qt::ScrollBarAlwaysOff);
        m_plain->setHorizontalScrollBarPolicy((m_style & kWsHScroll) ? Qt::ScrollBarAlwaysOn
                                                                     : Qt::ScrollBarAlwaysOff);
        m_plain->setTabChangesFocus(false);
        QObject::connect(m_plain, &QPlainTextEdit::textChanged, [this] { textChangedByControl(); });
        m_widget = m_plain;
    } else {
        m_line = new QLineEdit(parent);
        QObject::connect(m_line, &QLineEdit::textChanged, [this] { textChangedByControl(); });
        m_widget = m_line;
    }
    m_widget->setMouseTracking(true);
    if (m_style & kEsPassword)
        m_passwordChar = '*';
    return true;
}

void EditObject::applyStyle() {
    const bool frame = edgeWidth() > 0;
    Qt::Alignment align = Qt::AlignLeft;
    if (m_style & kEsCenter)
        align = Qt::AlignHCenter;
    else if (m_style & kEsRight)
        align = Qt::AlignRight;
    const bool readOnly = (m_style & kEsReadOnly) != 0;
    if (m_line) {
        m_line->setFrame(frame);
        m_line->setAlignment(align | Qt::AlignVCenter);
        m_line->setReadOnly(readOnly);
        if ((m_style & kEsPassword) && m_passwordChar) {
            const int character = fromRuntime(std::string(1, char(m_passwordChar))).at(0).unicode();
            // One style per box, told the character anew when it changes.
            auto* style = static_cast<PasswordStyle*>(m_passwordStyle.data());
            if (!style) {
                style = new PasswordStyle(character);
                style->setParent(m_line);
                m_line->setStyle(style);
                m_passwordStyle = style;
            }
            style->setCharacter(character);
            m_line->setEchoMode(QLineEdit::Password);
            m_line->update();
        } else {
            m_line->setEchoMode(QLineEdit::Normal);
        }
    } else if (m_plain) {
        m_plain->setFrameShape(frame ? QFrame::StyledPanel : QFrame::NoFrame);
        m_plain->setReadOnly(readOnly);
        QTextOption option = m_plain->document()->defaultTextOption();
        option.setAlignment(align);
        m_plain->document()->setDefaultTextOption(option);
    }
}

void EditObject::applyColours() {
    if (!m_widget)
        return;
    QPalette palette = QApplication::palette();
    palette.setColor(QPalette::Text, toQColor(m_textColour, palette.color(QPalette::Text)));
    palette.setColor(QPalette::Base, toQColor(m_background, palette.color(QPalette::Base)));
    // A disabled edit control shows grey text on the button face, whatever its own colours. The
    // grey is the desktop's grey-text colour, darker than Qt's disabled text, so that the folder
    // the box shows stays readable.
    palette.setColor(QPalette::Disabled, QPalette::Text, QColor(kGrayText, kGrayText, kGrayText));
    palette.setColor(QPalette::Disabled, QPalette::Base, palette.color(QPalette::Button));
    m_widget->setPalette(palette);
}

QPoint EditObject::clientOrigin() const {
    if (m_plain)
        return m_plain->viewport()->pos();
    return WindowObject::clientOrigin();
}

QString EditObject::qtText() const {
    return m_line ? m_line->text() : m_plain->toPlainText();
}

void EditObject::applyText(const std::string& text) {
    QString t = fromRuntime(text);
    if (m_style & kEsUpperCase)
        t = t.toUpper();
    else if (m_style & kEsLowerCase)
        t = t.toLower();
    const SettingText setting(*this);
    if (m_line) {
        m_line->setText(t);
    } else if (m_plain) {
        t.replace(QLatin1String("\r\n"), QLatin1String("\n"));
        m_plain->setPlainText(t);
    }
}

std::string EditObject::currentText() const {
    return toRuntime(m_line ? m_line->text() : crlfForm(m_plain->toPlainText()));
}

void EditObject::selection(int& start, int& end) const {
    if (m_line) {
        if (m_line->hasSelectedText()) {
            start = m_line->selectionStart();
            end = m_line->selectionEnd();
        } else {
            start = end = m_line->cursorPosition();
        }
    } else {
        const QTextCursor c = m_plain->textCursor();
        start = c.selectionStart();
        end = c.selectionEnd();
    }
}

void EditObject::setSelection(int start, int end) {
    const int length = int(qtText().size());
    start = std::clamp(start, 0, length);
    end = std::clamp(end, 0, length);
    if (m_line) {
        if (start == end)
            m_line->setCursorPosition(start);
        else
            m_line->setSelection(start, end - start);
    } else {
        QTextCursor c = m_plain->textCursor();
        c.setPosition(start);
        c.setPosition(end, QTextCursor::KeepAnchor);
        m_plain->setTextCursor(c);
    }
}

void EditObject::replaceSelection(const QString& text) {
    if (m_line) {
        m_line->insert(text);
    } else {
        QString t = text;
        t.replace(QLatin1String("\r\n"), QLatin1String("\n"));
        m_plain->textCursor().insertText(t);
        m_plain->ensureCursorVisible();
    }
}

void EditObject::textChangedByControl() {
    if (!m_settingText)
        notifyParent(*this, kEnChange);
}

void EditObject::deliverCharacter(QWidget*, const QString& text, Qt::KeyboardModifiers) {
    if (m_style & kEsReadOnly)
        return;
    QString t = text;
    if (m_style & kEsUpperCase)
        t = t.toUpper();
    else if (m_style & kEsLowerCase)
        t = t.toLower();
    if ((m_style & kEsNumber) && !(t.size() == 1 && t[0].isDigit()))
        return;
    if (m_limit > 0) {
        int start = 0;
        int end = 0;
        selection(start, end);
        const QString current = qtText();
        const int kept = int(toRuntime(current.left(start) + current.mid(end)).size());
        if (kept + int(toRuntime(t).size()) > m_limit) {
            notifyParent(*this, kEnMaxText);
            return;
        }
    }
    replaceSelection(t);
}

LResult EditObject::classProc(std::uint32_t message, WParam wParam, LParam lParam) {
    switch (message) {
    case kWmSetText: {
        LResult r;
        {
            const SettingText setting(*this);
            r = defaultWindowProc(m_handle, message, wParam, lParam);
        }
        // A single-line box reports every text it is given, also an unchanged one.
        if (!m_plain)
            notifyParent(*this, kEnChange);
        return r;
    }
    case kWmSetFocus:
        defaultWindowProc(m_handle, message, wParam, lParam);
        notifyParent(*this, kEnSetFocus);
        return 0;
    case kWmKillFocus:
        defaultWindowProc(m_handle, message, wParam, lParam);
        notifyParent(*this, kEnKillFocus);
        return 0;
    case kEmGetSel: {
        int start = 0;
        int end = 0;
        selection(start, end);
        QString form = qtText();
        if (m_plain) {
            start = toCrlfIndex(form, start);
            end = toCrlfIndex(form, end);
            form = crlfForm(form);
        }
        const auto bStart = static_cast<std::uint32_t>(indexToByteOffset(form, start));
        const auto bEnd = static_cast<std::uint32_t>(indexToByteOffset(form, end));
        if (wParam)
            *reinterpret_cast<std::uint32_t*>(wParam) = bStart;
        if (lParam)
            *reinterpret_cast<std::uint32_t*>(lParam) = bEnd;
        return (bStart > 0xFFFF || bEnd > 0xFFFF) ? -1 : makeLParam(int(bStart), int(bEnd));
    }
    case kEmSetSel: {
        const auto startBytes = static_cast<std::intptr_t>(wParam);
        if (startBytes == -1) {
            int start = 0;
            int end = 0;
            selection(start, end);
            setSelection(end, end);
            return 1;
        }
        QString form = m_plain ? crlfForm(qtText()) : qtText();
        const int formBytes = int(toRuntime(form).size());
        int start =
            byteOffsetToIndex(form, int(std::clamp<std::intptr_t>(startBytes, 0, formBytes)));
        int end = lParam < 0 ? int(form.size())
                             : byteOffsetToIndex(form, int(std::min<LParam>(lParam, formBytes)));
        if (m_plain) {
            start = fromCrlfIndex(form, start);
            end = fromCrlfIndex(form, end);
        }
        setSelection(start, end);
        return 1;
    }
    case kEmReplaceSel: {
        const char* text = reinterpret_cast<const char*>(lParam);
        replaceSelection(fromRuntime(text ? text : ""));
        return 0;
    }
    case kEmScrollCaret:
        // A line edit keeps its cursor in view by itself.
        if (m_plain)
            m_plain->ensureCursorVisible();
        return 1;
    case kEmLimitText:
        m_limit = int(std::min<WParam>(wParam, 0x7FFFFFFE));
        return 0;
    case kEmGetLimitText:
        return m_limit > 0 ? m_limit : 0x7FFFFFFE;
    case kEmSetPasswordChar:
        if (m_line) {
            m_passwordChar = int(wParam & 0xFF);
            if (m_passwordChar)
                m_style |= kEsPassword;
            else
                m_style &= ~kEsPassword;
            applyStyle();
        }
        return 0;
    case kEmSetReadOnly:
        if (wParam)
            m_style |= kEsReadOnly;
        else
            m_style &= ~kEsReadOnly;
        applyStyle();
        return 1;
    case kEmGetLineCount:
        return m_plain ? m_plain->document()->blockCount() : 1;
    default:
        return defaultWindowProc(m_handle, message, wParam, lParam);
    }
}

} // namespace kelvarn::platform::detail
