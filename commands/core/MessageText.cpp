#include "commands/core/MessageText.h"

#include "runtime/core/TypeTag.h"

#include <cinttypes>
#include <cmath>
#include <cstdio>

namespace kelvarn::commands {

using namespace runtime;

namespace {

const char kTrue[] = "\xd5\xe6";   // 真
const char kFalse[] = "\xbc\xd9";  // 假
const char kYear[] = "\xc4\xea";   // 年
const char kMonth[] = "\xd4\xc2";  // 月
const char kDay[] = "\xc8\xd5";    // 日
const char kHour[] = "\xca\xb1";   // 时
const char kMinute[] = "\xb7\xd6"; // 分
const char kSecond[] = "\xc3\xeb"; // 秒

// The first day of year 100 and the last day of year 9999.
constexpr double kFirstDay = -657434.0;
constexpr double kLastDay = 2958465.0;

struct CivilDate {
    int64_t year;
    unsigned month;
    unsigned day;
};

// Proleptic Gregorian date of a day count since 1970-01-01.
CivilDate civilFromDays(int64_t z) {
    z += 719468;
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const auto doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int64_t y = static_cast<int64_t>(yoe) + era * 400;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    const unsigned d = doy - (153 * mp + 2) / 5 + 1;
    const unsigned m = mp < 10 ? mp + 3 : mp - 9;
    return {y + (m <= 2), m, d};
}

std::string formatted(const char* format, auto... values) {
    char buffer[100];
    std::snprintf(buffer, sizeof buffer, format, values...);
    return buffer;
}

std::string singleText(float value) {
    double v = value;
    if (v != 0.0 && std::isfinite(v)) {
        // Round to 6 significant digits, halves away from zero, before printing.
        double scale = std::pow(10.0, 5 - static_cast<int>(std::floor(std::log10(std::fabs(v)))));
        double rounded = std::round(v * scale) / scale;
        if (std::isfinite(rounded))
            v = rounded;
    }
    return formatted("%.6g", v);
}

} // namespace

std::string dateTimeText(double days) {
    if (std::isnan(days))
        days = 0;
    days = std::fmin(std::fmax(days, kFirstDay), kLastDay);
    // The whole part counts days (toward zero); the fraction, taken without its sign, is the
    // time of that day, as date-time values before 1899 are stored.
    double whole = std::trunc(days);
    auto seconds = static_cast<int64_t>(std::llround(std::fabs(days - whole) * 86400.0));
    auto dayNumber = static_cast<int64_t>(whole);
    if (seconds >= 86400) {
        seconds -= 86400;
        dayNumber += days < 0 ? -1 : 1;
    }
    // 1899-12-30 is 25569 days before 1970-01-01.
    CivilDate date = civilFromDays(dayNumber - 25569);
    int hour = static_cast<int>(seconds / 3600);
    int minute = static_cast<int>(seconds / 60 % 60);
    int second = static_cast<int>(seconds % 60);
    std::string text = std::to_string(date.year) + kYear + std::to_string(date.month) + kMonth +
                       std::to_string(date.day) + kDay;
    if (second != 0)
        text += std::to_string(hour) + kHour + std::to_string(minute) + kMinute +
                std::to_string(second) + kSecond;
    else if (minute != 0)
        text += std::to_string(hour) + kHour + std::to_string(minute) + kMinute;
    else if (hour != 0)
        text += std::to_string(hour) + kHour;
    return text;
}

std::string messageText(const ArgRecord& value) {
    switch (value.tag) {
    case kTagText:
        return value.text() ? value.text() : "";
    case kTagByte:
        return formatted("%u", value.low & 0xFFu);
    case kTagShort:
        return formatted("%d", static_cast<int16_t>(value.low & 0xFFFF));
    case kTagInteger:
        return formatted("%d", value.integer());
    case kTagLong:
        return formatted("%" PRId64, value.longInteger());
    case kTagSingle:
        return singleText(value.singleValue());
    case kTagDouble:
        return formatted("%.13g", value.doubleValue());
    case kTagLogical:
        return value.low != 0 ? kTrue : kFalse;
    case kTagDateTime:
        return dateTimeText(value.doubleValue());
    default:
        return {};
    }
}

} // namespace kelvarn::commands
