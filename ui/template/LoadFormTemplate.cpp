#include "ui/template/FormTemplateReader.h"

#include "runtime/core/RuntimeError.h"

namespace kelvarn::ui {

void LoadFormTemplate(const uint8_t* bytes, uint32_t length, uint32_t codeBase,
                      WindowTable& table) {
    TemplateReadResult result =
        readFormTemplate(std::span<const uint8_t>(bytes, bytes ? length : 0), codeBase);
    if (!result.ok()) {
        // "载入窗口模板数据段出错!"
        runtime::endWithRuntimeError("\xD4\xD8\xC8\xEB\xB4\xB0\xBF\xDA\xC4\xA3\xB0\xE5\xCA\xFD"
                                     "\xBE\xDD\xB6\xCE\xB3\xF6\xB4\xED!",
                                     0);
    }
    for (auto& window : result.windows)
        table.append(std::move(window));
}

} // namespace kelvarn::ui
