#pragma once
// Qt's own texts (the folder dialog's labels, buttons and messages) in simplified Chinese, the
// language of every text of the program.

namespace kelvarn::platform::detail {

// Loads Qt's zh_CN translations (qt6-translations-l10n) for the application once; without them
// installed Qt's texts stay English.
void installQtTranslations();

} // namespace kelvarn::platform::detail
