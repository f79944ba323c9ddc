#include "listing/sort_keys.h"

#include <cmath>

namespace tov {
namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

bool IsBlank(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

// Exact powers of ten: a mantissa below 2^53 divided or multiplied by one of them is
// correctly rounded, so "1,5" and "1.5" give exactly 1.5.
constexpr double kPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                   1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                   1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

double ScaleByPowerOfTen(double mantissa, std::int64_t exponent) {
    if (mantissa == 0) {
        return 0;
    }
    if (exponent >= 0 && exponent <= 22) {
        return mantissa * kPowersOfTen[exponent];
    }
    if (exponent < 0 && exponent >= -22) {
        return mantissa / kPowersOfTen[-exponent];
    }
    return mantissa * std::pow(10.0, static_cast<double>(exponent));
}

// The leading decimal number of `text`: optional sign, digits, "." or "," and digits,
// optional exponent. Reading stops at the first character that cannot continue the number;
// without any digit the value is 0. Independent of the locale.
double ReadLeadingNumber(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && IsBlank(text[i])) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    std::uint64_t mantissa = 0;
    std::int64_t exponent = 0;  // of ten, applied to the mantissa
    bool any_digit = false;
    auto take_digit = [&](char c, bool after_point) {
        any_digit = true;
        if (mantissa < 100000000000000000ull) {  // keep 17 significant digits, drop the rest
            mantissa = mantissa * 10 + static_cast<unsigned>(c - '0');
            if (after_point) {
                --exponent;
            }
        } else if (!after_point) {
            ++exponent;
        }
    };
    while (i < text.size() && IsDigit(text[i])) {
        take_digit(text[i++], false);
    }
    if (i < text.size() && (text[i] == '.' || text[i] == ',')) {
        ++i;
        while (i < text.size() && IsDigit(text[i])) {
            take_digit(text[i++], true);
        }
    }
    if (!any_digit) {
        return 0;
    }
    if (i + 1 < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t j = i + 1;
        bool exponent_negative = false;
        if (text[j] == '+' || text[j] == '-') {
            exponent_negative = text[j] == '-';
            ++j;
        }
        if (j < text.size() && IsDigit(text[j])) {
            std::int64_t written = 0;
            while (j < text.size() && IsDigit(text[j])) {
                if (written < 100000) {  // far beyond any double; saturates to 0 or infinity
                    written = written * 10 + (text[j] - '0');
                }
                ++j;
            }
            exponent += exponent_negative ? -written : written;
        }
    }
    const double value = ScaleByPowerOfTen(static_cast<double>(mantissa), exponent);
    return negative ? -value : value;
}

bool EndsWith(std::string_view text, std::string_view suffix) {
    return text.size() >= suffix.size() && text.substr(text.size() - suffix.size()) == suffix;
}

// Days from 1970-01-01 to the given date of the proleptic Gregorian calendar (month 1-12).
constexpr std::int64_t DaysFromCivil(std::int64_t year, unsigned month, unsigned day) {
    year -= month <= 2;
    const std::int64_t era = (year >= 0 ? year : year - 399) / 400;
    const unsigned year_of_era = static_cast<unsigned>(year - era * 400);
    const unsigned day_of_year = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
    const unsigned day_of_era =
        year_of_era * 365 + year_of_era / 4 - year_of_era / 100 + day_of_year;
    return era * 146097 + static_cast<std::int64_t>(day_of_era) - 719468;
}

bool ReadTwoDigits(std::string_view text, std::size_t at, int& value) {
    if (!IsDigit(text[at]) || !IsDigit(text[at + 1])) {
        return false;
    }
    value = (text[at] - '0') * 10 + (text[at + 1] - '0');
    return true;
}

}  // namespace

double ReadSizeForSorting(std::string_view size) {
    double value = ReadLeadingNumber(size);
    if (EndsWith(size, "GB")) {
        value *= 1073741824.0;
    } else if (EndsWith(size, "MB")) {
        value *= 1048576.0;
    } else if (EndsWith(size, "KB")) {
        value *= 1024.0;
    }
    return value;
}

std::int64_t ReadDateForSorting(std::string_view date) {
    if (date.size() < 17) {
        return kUnreadableDateKey;
    }
    int day, month, year, hour, minute, second;
    if (!ReadTwoDigits(date, 0, day) || !ReadTwoDigits(date, 3, month) ||
        !ReadTwoDigits(date, 6, year) || !ReadTwoDigits(date, 9, hour) ||
        !ReadTwoDigits(date, 12, minute) || !ReadTwoDigits(date, 15, second)) {
        return kUnreadableDateKey;
    }
    year += year >= 70 ? 1900 : 2000;

    // Carry months into years first, then count days, hours, minutes and seconds from the
    // first of that month, as a calendar normalisation does.
    const int months_from_january = month - 1;
    const int carried_years =
        months_from_january >= 0 ? months_from_january / 12 : -((11 - months_from_january) / 12);
    const int month_index = months_from_january - carried_years * 12;  // 0..11
    const std::int64_t days =
        DaysFromCivil(year + carried_years, static_cast<unsigned>(month_index + 1), 1) + (day - 1);
    const std::int64_t seconds = days * 86400 + hour * 3600 + minute * 60 + second;

    // 1970-01-01 00:00:00 up to 3000-12-31 23:59:59, the range a calendar time holds.
    constexpr std::int64_t kLast = DaysFromCivil(3001, 1, 1) * 86400 - 1;
    if (seconds < 0 || seconds > kLast) {
        return kUnreadableDateKey;
    }
    return seconds;
}

}  // namespace tov
