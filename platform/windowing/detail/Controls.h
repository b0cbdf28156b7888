#pragma once
// The kinds of window objects: plain windows of registered classes and the standard controls.

#include "platform/windowing/detail/WindowObject.h"

#include <QPixmap>
#include <QStyledItemDelegate>

#include <memory>
#include <string>
#include <utility>
#include <vector>

class QLineEdit;
class QPlainTextEdit;
class QListWidget;
class QAbstractButton;
class QToolButton;

namespace kelvarn::platform::detail {

bool addClass(WindowClass def, Builtin builtin);
void clearClasses();
void registerBuiltinClasses();

// Window flags, fixed size and frame of a top-level window from its styles.
void applyTopLevelStyle(WindowObject& window);
FrameMetrics frameMetricsOf(const WindowObject& window);
void setOuterGeometry(WindowObject& window, int x, int y, int width, int height);

// A window of a registered class; the runtime paints it on kWmPaint.
class PlainWindowObject : public WindowObject {
public:
    using WindowObject::WindowObject;
    bool build(QWidget* parent) override;
    void applyStyle() override;
};

class EditObject : public WindowObject {
public:
    using WindowObject::WindowObject;
    bool build(QWidget* parent) override;
    LResult classProc(std::uint32_t message, WParam wParam, LParam lParam) override;
    void applyText(const std::string& text) override;
    std::string currentText() const override;
    void applyStyle() override;
    void applyColours() override;
    QPoint clientOrigin() const override;
    void deliverCharacter(QWidget* target, const QString& text,
                          Qt::KeyboardModifiers modifiers) override;

    bool multiLine() const { return m_plain != nullptr; }
    QString qtText() const;
    void selection(int& start, int& end) const; // Qt indexes
    void setSelection(int start, int end);
    void replaceSelection(const QString& text);
    void textChangedByControl();

    QLineEdit* m_line = nullptr;
    QPlainTextEdit* m_plain = nullptr;
    int m_limit = 0; // bytes, 0 = none
    int m_passwordChar = 0;
    QPointer<QObject> m_passwordStyle; // the box's style that supplies the password character
    bool m_settingText = false;
};

class ButtonObject : public WindowObject {
public:
    using WindowObject::WindowObject;
    bool build(QWidget* parent) override;
    LResult classProc(std::uint32_t message, WParam wParam, LParam lParam) override;
    void applyText(const std::string& text) override;
    void applyStyle() override;
    void applyColours() override;
    std::uint32_t kind() const { return m_style & kBsTypeMask; }
    void checkedByUser(); // automatic radio behaviour within the group

    QAbstractButton* m_button = nullptr;
    QPixmap m_picture; // shown instead of the caption (Picture.h)
};

class ListBoxObject;
class ItemHeightDelegate : public QStyledItemDelegate {
public:
    ItemHeightDelegate(ListBoxObject* owner, QObject* parent)
        : QStyledItemDelegate(parent), m_owner(owner) {}
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    ListBoxObject* m_owner;
};

class ListBoxObject : public WindowObject {
public:
    using WindowObject::WindowObject;
    bool build(QWidget* parent) override;
    LResult classProc(std::uint32_t message, WParam wParam, LParam lParam) override;
    void applyFont(const QFont& font) override;
    void applyColours() override;
    QPoint clientOrigin() const override;

    int count() const;
    std::string itemText(int index) const;
    int insertItem(int index, std::string_view text);
    int findPrefix(int start, std::string_view prefix, bool exact) const;
    int currentSelection() const;
    bool multiple() const;

    QListWidget* m_list = nullptr;
    int m_itemHeight = 0;
    bool m_itemHeightSet = false;
    int m_programmatic = 0;

private:
    // The items' folded texts with their positions, sorted, so that selecting an item by its
    // text stays cheap in a list of thousands (a batch selects each item in turn). Rebuilt on
    // the first search after the list changed.
    mutable std::vector<std::pair<std::string, int>> m_searchIndex;
    mutable bool m_searchIndexValid = false;
    // The receiver of the model's change signals. The list widget may outlive this object
    // (retired widgets go later); with this object its connections go too.
    std::unique_ptr<QObject> m_indexWatcher = std::make_unique<QObject>();
};

class UpDownObject : public WindowObject {
public:
    using WindowObject::WindowObject;
    bool build(QWidget* parent) override;
    LResult classProc(std::uint32_t message, WParam wParam, LParam lParam) override;
    void step(int direction); // +1 up/right arrow, -1 down/left arrow
    void setPosition(int pos);

    int m_min = 100; // the Windows default range runs from 100 down to 0
    int m_max = 0;
    int m_pos = 0;
    WindowHandle m_buddy = 0;
    QToolButton* m_up = nullptr;
    QToolButton* m_down = nullptr;
};

} // namespace kelvarn::platform::detail
