// "LISTBOX": a list of runtime texts with one item word each, single, multiple or extended
// selection, sorted insertion, prefix search and a fixed item height.

#include "platform/windowing/Messages.h"
#include "platform/windowing/Styles.h"
#include "platform/windowing/detail/Controls.h"
#include "platform/windowing/detail/QtText.h"

#include <QApplication>
#include <QFontMetrics>
#include <QListWidget>
#include <QScrollBar>

#include <algorithm>
#include <cstring>

namespace kelvarn::platform::detail {
namespace {

// Items keep their runtime bytes, so a text comes back exactly as it was added.
constexpr int kTextRole = Qt::UserRole + 1;
constexpr int kDataRole = Qt::UserRole + 2;

class ProgrammaticChange {
public:
    explicit ProgrammaticChange(ListBoxObject& list) : m_list(list) { ++m_list.m_programmatic; }
    ~ProgrammaticChange() { --m_list.m_programmatic; }
    ProgrammaticChange(const ProgrammaticChange&) = delete;
    ProgrammaticChange& operator=(const ProgrammaticChange&) = delete;

private:
    ListBoxObject& m_list;
};

} // namespace

QSize ItemHeightDelegate::sizeHint(const QStyleOptionViewItem& option,
                                   const QModelIndex& index) const {
    QSize size = QStyledItemDelegate::sizeHint(option, index);
    size.setHeight(m_owner->m_itemHeight);
    return size;
}

bool ListBoxObject::build(QWidget* parent) {
    m_list = new QListWidget(parent);
    if (m_style & kLbsExtendedSel)
        m_list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    else if (m_style & kLbsMultipleSel)
        m_list->setSelectionMode(QAbstractItemView::MultiSelection);
    else
        m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    if (m_style & kLbsMultiColumn) {
        m_list->setFlow(QListView::TopToBottom);
        m_list->setWrapping(true);
    }
    m_list->setVerticalScrollBarPolicy((m_style & kWsVScroll) ? Qt::ScrollBarAsNeeded
                                                              : Qt::ScrollBarAlwaysOff);
    m_list->setHorizontalScrollBarPolicy((m_style & kWsHScroll) ? Qt::ScrollBarAsNeeded
                                                                : Qt::ScrollBarAlwaysOff);
    m_list->setFrameShape(edgeWidth() > 0 ? QFrame::StyledPanel : QFrame::NoFrame);
    m_list->setUniformItemSizes(true);
    m_list->setItemDelegate(new ItemHeightDelegate(this, m_list));
    m_list->setMouseTracking(true);
    m_list->viewport()->setMouseTracking(true);
    m_itemHeight = QFontMetrics(m_list->font()).height();
    QObject::connect(m_list, &QListWidget::itemSelectionChanged, [this] {
        if (m_programmatic == 0 && (m_style & kLbsNotify))
            notifyParent(*this, kLbnSelChange);
    });
    QAbstractItemModel* model = m_list->model();
    const auto changed = [this] { m_searchIndexValid = false; };
    QObject* watcher = m_indexWatcher.get();
    QObject::connect(model, &QAbstractItemModel::rowsInserted, watcher, changed);
    QObject::connect(model, &QAbstractItemModel::rowsRemoved, watcher, changed);
    QObject::connect(model, &QAbstractItemModel::rowsMoved, watcher, changed);
    QObject::connect(model, &QAbstractItemModel::modelReset, watcher, changed);
    QObject::connect(model, &QAbstractItemModel::layoutChanged, watcher, changed);
    QObject::connect(model, &QAbstractItemModel::dataChanged, watcher, changed);
    QObject::connect(m_list, &QListWidget::itemDoubleClicked, [this] {
        if (m_style & kLbsNotify)
            notifyParent(*this, kLbnDblClk);
    });
    m_widget = m_list;
    return true;
}

void ListBoxObject::applyFont(const QFont& font) {
    WindowObject::applyFont(font);
    if (!m_itemHeightSet)
        m_itemHeight = QFontMetrics(font).height();
    m_list->doItemsLayout();
}

void ListBoxObject::applyColours() {
    QPalette palette = QApplication::palette();
    palette.setColor(QPalette::Text, toQColor(m_textColour, palette.color(QPalette::Text)));
    palette.setColor(QPalette::Base, toQColor(m_background, palette.color(QPalette::Base)));
    m_list->setPalette(palette);
}

QPoint ListBoxObject::clientOrigin() const {
    return m_list->viewport()->pos();
}

int ListBoxObject::count() const {
    return m_list->count();
}

bool ListBoxObject::multiple() const {
    return (m_style & (kLbsMultipleSel | kLbsExtendedSel)) != 0;
}

std::string ListBoxObject::itemText(int index) const {
    const QListWidgetItem* item = m_list->item(index);
    if (!item)
        return {};
    const QByteArray bytes = item->data(kTextRole).toByteArray();
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

int ListBoxObject::insertItem(int index, std::string_view text) {
    if (index < 0) {
        index = count();
        if (m_style & kLbsSort) {
            // After the last item that does not sort behind the new text.
            int low = 0;
            int high = count();
            while (low < high) {
                const int mid = (low + high) / 2;
                if (compareRuntimeTexts(itemText(mid), text) <= 0)
                    low = mid + 1;
                else
                    high = mid;
            }
            index = low;
        }
    }
    if (index > count())
        return int(kLbErr);
    ProgrammaticChange change(*this);
    auto* item = new QListWidgetItem(fromRuntime(text));
    item->setData(kTextRole, QByteArray(text.data(), qsizetype(text.size())));
    item->setData(kDataRole, QVariant::fromValue<qulonglong>(0));
    m_list->insertItem(index, item);
    return index;
}

int ListBoxObject::findPrefix(int start, std::string_view prefix, bool exact) const {
    const int n = count();
    if (n == 0)
        return int(kLbErr);
    if (!m_searchIndexValid) {
        m_searchIndex.clear();
        m_searchIndex.reserve(static_cast<std::size_t>(n));
        for (int i = 0; i < n; ++i)
            m_searchIndex.emplace_back(foldedRuntimeText(itemText(i)), i);
        std::sort(m_searchIndex.begin(), m_searchIndex.end());
        m_searchIndexValid = true;
    }
    // The search begins after start and wraps round; -1 searches from the first item. Every
    // match has the folded prefix's bytes in front, so the candidates stand together in the
    // index; the byte test may take a few more (a prefix cut inside a character), which the
    // exact test below sorts out.
    const int first = (start < 0 || start >= n) ? 0 : start + 1;
    const std::string folded = foldedRuntimeText(prefix);
    int found = -1;
    const auto cyclic = [&](int i) { return (i - first + n) % n; };
    for (auto it = std::lower_bound(m_searchIndex.begin(), m_searchIndex.end(),
                                    std::pair<std::string, int>(folded, -1));
         it != m_searchIndex.end() && it->first.compare(0, folded.size(), folded) == 0; ++it) {
        const std::string text = itemText(it->second);
        const bool match =
            exact ? compareRuntimeTexts(text, prefix) == 0 : startsWithIgnoringCase(text, prefix);
        if (match && (found < 0 || cyclic(it->second) < cyclic(found)))
            found = it->second;
    }
    return found < 0 ? int(kLbErr) : found;
}

int ListBoxObject::currentSelection() const {
    if (multiple())
        return m_list->currentRow();
    const QList<QListWidgetItem*> selected = m_list->selectedItems();
    return selected.isEmpty() ? int(kLbErr) : m_list->row(selected.first());
}

LResult ListBoxObject::classProc(std::uint32_t message, WParam wParam, LParam lParam) {
    const int index = static_cast<int>(static_cast<std::intptr_t>(wParam));
    const char* text = reinterpret_cast<const char*>(lParam);
    switch (message) {
    case kLbAddString:
        return insertItem(-1, text ? text : "");
    case kLbInsertString:
        return insertItem(index < 0 ? count() : index, text ? text : "");
    case kLbDeleteString: {
        if (index < 0 || index >= count())
            return kLbErr;
        ProgrammaticChange change(*this);
        delete m_list->takeItem(index);
        return count();
    }
    case kLbResetContent: {
        ProgrammaticChange change(*this);
        m_list->clear();
        return 0;
    }
    case kLbGetCount:
        return count();
    case kLbGetTextLen:
        return (index < 0 || index >= count()) ? kLbErr : LResult(itemText(index).size());
    case kLbGetText: {
        if (index < 0 || index >= count() || !lParam)
            return kLbErr;
        const std::string t = itemText(index);
        char* buffer = reinterpret_cast<char*>(lParam);
        std::memcpy(buffer, t.data(), t.size());
        buffer[t.size()] = '\0';
        return LResult(t.size());
    }
    case kLbGetItemData: {
        const QListWidgetItem* item = m_list->item(index);
        return item ? LResult(item->data(kDataRole).toULongLong()) : kLbErr;
    }
    case kLbSetItemData: {
        QListWidgetItem* item = m_list->item(index);
        if (!item)
            return kLbErr;
        item->setData(kDataRole, QVariant::fromValue<qulonglong>(qulonglong(lParam)));
        return 0;
    }
    case kLbGetCurSel:
        return currentSelection();
    case kLbSetCurSel: {
        if (multiple())
            return kLbErr;
        ProgrammaticChange change(*this);
        if (index < 0 || index >= count()) {
            m_list->clearSelection();
            m_list->setCurrentRow(-1);
            return kLbErr;
        }
        m_list->setCurrentRow(index);
        m_list->scrollToItem(m_list->item(index));
        return index;
    }
    case kLbSelectString:
    case kLbFindString:
    case kLbFindStringExact: {
        const int found = findPrefix(index, text ? text : "", message == kLbFindStringExact);
        if (message != kLbSelectString || found < 0)
            return found;
        if (multiple())
            return kLbErr;
        ProgrammaticChange change(*this);
        m_list->setCurrentRow(found);
        m_list->scrollToItem(m_list->item(found));
        return found;
    }
    case kLbSetSel: {
        if (!multiple())
            return kLbErr;
        ProgrammaticChange change(*this);
        const auto target = static_cast<int>(lParam);
        for (int i = 0; i < count(); ++i)
            if (target == -1 || target == i)
                m_list->item(i)->setSelected(wParam != 0);
        return (target >= -1 && target < count()) ? 0 : kLbErr;
    }
    case kLbGetSel: {
        const QListWidgetItem* item = m_list->item(index);
        return item ? (item->isSelected() ? 1 : 0) : kLbErr;
    }
    case kLbGetSelCount:
        return multiple() ? LResult(m_list->selectedItems().size()) : kLbErr;
    case kLbGetSelItems: {
        if (!multiple() || !lParam)
            return kLbErr;
        int* out = reinterpret_cast<int*>(lParam);
        int n = 0;
        for (int i = 0; i < count() && n < index; ++i)
            if (m_list->item(i)->isSelected())
                out[n++] = i;
        return n;
    }
    case kLbGetTopIndex: {
        const QListWidgetItem* top = m_list->itemAt(0, 0);
        return top ? m_list->row(top) : 0;
    }
    case kLbSetTopIndex: {
        QListWidgetItem* item = m_list->item(index);
        if (!item)
            return kLbErr;
        m_list->scrollToItem(item, QAbstractItemView::PositionAtTop);
        return 0;
    }
    case kLbGetCaretIndex:
        return m_list->currentRow();
    case kLbSetCaretIndex: {
        if (index < 0 || index >= count())
            return kLbErr;
        ProgrammaticChange change(*this);
        m_list->setCurrentRow(index, QItemSelectionModel::NoUpdate);
        return 0;
    }
    case kLbGetItemHeight:
        return m_itemHeight;
    case kLbSetItemHeight:
        if (lParam <= 0 || lParam > 255)
            return kLbErr;
        m_itemHeight = static_cast<int>(lParam);
        m_itemHeightSet = true;
        m_list->doItemsLayout();
        return 0;
    case kWmSetFocus:
        defaultWindowProc(m_handle, message, wParam, lParam);
        if (m_style & kLbsNotify)
            notifyParent(*this, kLbnSetFocus);
        return 0;
    case kWmKillFocus:
        defaultWindowProc(m_handle, message, wParam, lParam);
        if (m_style & kLbsNotify)
            notifyParent(*this, kLbnKillFocus);
        return 0;
    default:
        return defaultWindowProc(m_handle, message, wParam, lParam);
    }
}

} // namespace kelvarn::platform::detail
