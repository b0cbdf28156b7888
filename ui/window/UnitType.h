#pragma once
// What every unit type shares: its property set, read from the property block at creation, and
// the get, set and save entries driven by the type's property table (PropertyTable.h). A type
// derives from UnitType<ItsProperties> and keeps only what is its own: how its control is made,
// the hooks for the rows marked Apply or Own, and its events.

#include "platform/windowing/Messages.h"
#include "platform/windowing/Window.h"
#include "ui/template/PropertyTable.h"
#include "ui/window/ControlSupport.h"
#include "ui/window/EventRecord.h"
#include "ui/window/WindowObject.h"

#include <memory>
#include <span>
#include <string>
#include <variant>
#include <vector>

namespace kelvarn::ui {

template <typename Properties> class UnitType : public WindowObject {
public:
    using Id = typename Properties::Id;
    using Row = PropertyRow<Properties>;

    UnitType(uint32_t windowId, uint32_t unitId, uintptr_t creationArgument)
        : WindowObject(Properties::kTypeTag, windowId, unitId, creationArgument) {}

    const Properties& properties() const { return m_p; }

    // Reads the property block into the property set; false when the block is refused.
    bool readBlock(const uint8_t* block, uint32_t blockLength) {
        return m_p.read(std::span<const uint8_t>(block, block ? blockLength : 0)) ==
               BlockStatus::Ok;
    }

    std::vector<uint8_t> savePropertyBlock() const override {
        Properties saved = m_p;
        for (const Row& row : propertyTable(m_p))
            if (row.onRead == OnRead::WindowText)
                if (auto field = std::get_if<std::string Properties::*>(&row.field))
                    saved.*(*field) = platform::windowText(handle());
        beforeSave(saved);
        return saved.write();
    }

    int32_t setProperty(int32_t typeIndex, const TypeValue& v) override {
        const Row* row = rowAt(typeIndex);
        if (!row)
            return 0;
        if (row->onWrite == OnWrite::Own)
            return writeOwn(row->id, v);
        const bool changed = store(*row, v);
        switch (row->onWrite) {
        case OnWrite::Redraw:
            platform::invalidateWindow(handle());
            break;
        case OnWrite::Colours:
            // Setting the colours repaints the control: that is the one redraw, no invalidate.
            if constexpr (requires { m_p.textColour + m_p.backgroundColour; })
                platform::setWindowColours(handle(), m_p.textColour, m_p.backgroundColour);
            break;
        case OnWrite::Font:
            if (auto field = std::get_if<FontBlock Properties::*>(&row->field))
                applyFont(m_p.*(*field));
            fontApplied();
            break;
        case OnWrite::WindowText:
            if (auto field = std::get_if<std::string Properties::*>(&row->field))
                platform::setWindowText(handle(), m_p.*(*field));
            break;
        case OnWrite::Apply:
            applyProperty(row->id);
            break;
        case OnWrite::Recreate:
            return 1;
        case OnWrite::RecreateWhenChanged:
            return changed ? 1 : 0;
        default:
            break;
        }
        return 0;
    }

    bool getProperty(int32_t typeIndex, TypeValue& out) override {
        const Row* row = rowAt(typeIndex);
        if (!row)
            return false;
        switch (row->onRead) {
        case OnRead::None:
            return false;
        case OnRead::Own:
            return readOwn(row->id, out);
        case OnRead::WindowText:
            out = keepText(platform::windowText(handle()));
            return true;
        case OnRead::Field:
            break;
        }
        return withField(*row, [&](const auto& value) {
            using Value = std::decay_t<decltype(value)>;
            if constexpr (std::is_same_v<Value, std::string>)
                out = keepText(value);
            else if constexpr (std::is_same_v<Value, std::vector<uint8_t>>)
                out = keepBytes(value);
            else if constexpr (std::is_same_v<Value, FontBlock>)
                out = keepBytes({value.bytes().begin(), value.bytes().end()});
            else
                out = wordValue(value);
        });
    }

protected:
    // Hooks of the rows marked Own or Apply, and of a font applied.
    virtual int32_t writeOwn(Id, const TypeValue&) { return 0; }
    virtual bool readOwn(Id, TypeValue&) { return false; }
    virtual void applyProperty(Id) {}
    virtual void fontApplied() {}
    // The last word on a saved property set (live state of the control).
    virtual void beforeSave(Properties&) const {}

    // An integer, logical or choice as the type side carries it.
    static TypeValue wordValue(int64_t v) {
        return {static_cast<uintptr_t>(static_cast<uint32_t>(v)), 0};
    }

    // The buttons and the window raise -7 and -8 from their own focus messages; the edit and list
    // boxes from their notifications.
    platform::LResult handleFocusMessage(uint32_t message, platform::WParam wParam,
                                         platform::LParam lParam) {
        platform::LResult result = callPrevious(message, wParam, lParam);
        raiseEvent(message == platform::kWmSetFocus ? kEventGotFocus : kEventLostFocus);
        return result;
    }
    static bool isFocusMessage(uint32_t message) {
        return message == platform::kWmSetFocus || message == platform::kWmKillFocus;
    }

    Properties m_p;

private:
    const Row* rowAt(int32_t typeIndex) const {
        std::span<const Row> rows = propertyTable(m_p);
        return typeIndex >= 0 && static_cast<size_t>(typeIndex) < rows.size()
                   ? &rows[static_cast<size_t>(typeIndex)]
                   : nullptr;
    }

    // Calls `use` with the field a row names; false for a row without one.
    template <typename Use> bool withField(const Row& row, Use use) {
        return std::visit(
            [&](auto field) {
                if constexpr (std::is_same_v<decltype(field), std::monostate>) {
                    return false;
                } else {
                    use(m_p.*field);
                    return true;
                }
            },
            row.field);
    }

    // The value into its field, in the field's form; answers whether the field changed.
    bool store(const Row& row, const TypeValue& v) {
        bool changed = false;
        withField(row, [&](auto& target) {
            using Value = std::decay_t<decltype(target)>;
            if constexpr (std::is_same_v<Value, int32_t>) {
                Value value = row.maximum != kNoMaximum ? clampChoice(v.integer(), row.maximum)
                              : row.kind == PropertyKind::Logical ? (v.integer() != 0 ? 1 : 0)
                                                                  : v.integer();
                changed = target != value;
                target = value;
            } else if constexpr (std::is_same_v<Value, uint32_t>) {
                target = static_cast<uint32_t>(v.word);
            } else if constexpr (std::is_same_v<Value, std::string>) {
                target = textOf(v);
            } else if constexpr (std::is_same_v<Value, std::vector<uint8_t>>) {
                target = blockBytes(v);
            } else {
                target = FontBlock::fromStored(blockBytes(v));
            }
        });
        return changed;
    }
};

// Interface code 1 for a unit type: the object is built with its property set read from the
// block (a refused block fails the creation), then `Unit::build` makes its control.
template <typename Unit>
WindowObject* createUnitEntry(const uint8_t* block, uint32_t blockLength, uint32_t style,
                              platform::WindowHandle parent, uint32_t controlId, uintptr_t,
                              int32_t left, int32_t top, int32_t width, int32_t height,
                              uint32_t windowId, uint32_t unitId, uint32_t,
                              uintptr_t creationArgument) {
    auto object = std::make_unique<Unit>(windowId, unitId, creationArgument);
    if (!object->readBlock(block, blockLength))
        return nullptr;
    return Unit::build(std::move(object), style, {parent, controlId, left, top, width, height});
}

} // namespace kelvarn::ui
