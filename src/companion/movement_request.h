#pragma once
// The 1808-byte request block of HareketListVer (the list of open-term debtors and
// creditors). Byte offsets from its start; texts are length-prefixed, 256 bytes each.
#include "core/turkish.h"

#include <array>
#include <cstdint>
#include <cstring>

namespace selvar {

struct MovementListRequest {
    static constexpr int Size = 1808;
    static constexpr int StartDateOffset = 512;   // text: today minus the reminder days
    static constexpr int EndDateOffset = 768;     // text: today plus the reminder days
    static constexpr int KindOffset = 1536;       // int32: 1 both, 2 creditors, 3 debtors
    static constexpr int ZeroIntOffset = 1540;    // int32: 0
    static constexpr int MinusOneOffset = 1800;   // int32: -1
    static constexpr int ModeOffset = 1804;       // 'T' show the list, '0' no reminder

    std::array<unsigned char, Size> bytes{};

    MovementListRequest()
    {
        // Every text starts empty (length byte 0); the fixed integers are set.
        setInt(ZeroIntOffset, 0);
        setInt(MinusOneOffset, -1);
        bytes[ModeOffset] = '0';
    }

    void setText(int offset, const QString& text) { writeShortText(bytes.data() + offset, text); }
    QString text(int offset) const { return readShortText(bytes.data() + offset); }
    void setInt(int offset, std::int32_t v) { std::memcpy(bytes.data() + offset, &v, 4); }  // little-endian host
    std::int32_t intAt(int offset) const
    {
        std::int32_t v;
        std::memcpy(&v, bytes.data() + offset, 4);
        return v;
    }

    void setStartDate(const QString& t) { setText(StartDateOffset, t); }
    void setEndDate(const QString& t) { setText(EndDateOffset, t); }
    void setKind(std::int32_t k) { setInt(KindOffset, k); }
    void setMode(char m) { bytes[ModeOffset] = static_cast<unsigned char>(m); }
    QString startDate() const { return text(StartDateOffset); }
    QString endDate() const { return text(EndDateOffset); }
    std::int32_t kind() const { return intAt(KindOffset); }
    char mode() const { return static_cast<char>(bytes[ModeOffset]); }
};

static_assert(sizeof(MovementListRequest) == MovementListRequest::Size);

}  // namespace selvar
