// Face substitutions: the Windows faces a form template may name, drawn with the Debian CJK
// faces (fonts-arphic-uming, fonts-wqy-microhei).

#include "platform/windowing/detail/FontFaces.h"

#include <QFont>
#include <QStringList>

namespace kelvarn::platform::detail {

void installFontSubstitutions() {
    const QString song = QString::fromLatin1(kSongFamily);
    const QString sans = QString::fromLatin1(kFallbackFamily);
    // Serif faces and the dialog faces, which on a Chinese desktop resolve to 宋体.
    const char* songFaces[] = {"宋体",   "新宋体",       "仿宋",           "楷体",
                               "SimSun", "NSimSun",      "FangSong",       "KaiTi",
                               "System", "MS Shell Dlg", "MS Shell Dlg 2", "MS Sans Serif"};
    const char* sansFaces[] = {"黑体", "微软雅黑", "SimHei", "Microsoft YaHei"};
    for (const char* face : songFaces)
        QFont::insertSubstitutions(QString::fromUtf8(face), {song, sans});
    for (const char* face : sansFaces)
        QFont::insertSubstitutions(QString::fromUtf8(face), {sans, song});
}

} // namespace kelvarn::platform::detail
