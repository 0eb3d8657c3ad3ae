// Live GDI and USER objects held by the platform's owning types, per type: the leak check that Wine's
// GetGuiResources (always 0) cannot give. Kept only in builds with QX_GDI_COUNTER (the test builds).
#pragma once

#include <atomic>
#include <cstddef>
#include <string>

class CGdiCounter {
public:
    enum EKind {
        kBitmap,
        kBrush,
        kPen,
        kFont,
        kRegion,
        kPalette,
        kDC,       // created device contexts (CreateCompatibleDC, CreateDC), until DeleteDC
        kWindowDC, // borrowed ones (GetDC, GetWindowDC, GetDCEx, BeginPaint), until ReleaseDC or EndPaint
        kIcon,
        kCursor,
        kImageList,
        kMenu,
        kKindCount
    };

    // True in builds that count; elsewhere every count reads 0.
    static constexpr bool IsEnabled() {
#ifdef QX_GDI_COUNTER
        return true;
#else
        return false;
#endif
    }

    static long Get(EKind kind) { return IsEnabled() ? Counts()[kind].load() : 0; }
    static long Total() {
        long total = 0;
        for (int k = 0; k < kKindCount; ++k)
            total += Get(static_cast<EKind>(k));
        return total;
    }
    static const char *Name(EKind kind) {
        static const char *const names[kKindCount] = {"bitmap", "brush",  "pen",    "font",  "region",     "palette",
                                                      "DC",     "window DC", "icon", "cursor", "image list", "menu"};
        return kind >= 0 && kind < kKindCount ? names[kind] : "?";
    }

    // Called by the owning types only.
    static void Created(EKind kind) {
        if (IsEnabled())
            ++Counts()[kind];
    }
    static void Destroyed(EKind kind) {
        if (IsEnabled())
            --Counts()[kind];
    }

private:
    static std::atomic<long> *Counts() {
        static std::atomic<long> counts[kKindCount] = {};
        return counts;
    }
};

// The counts at one moment; a later snapshot that differs names the kinds that changed ("brush +1").
class CGdiCounterSnapshot {
public:
    CGdiCounterSnapshot() {
        for (int k = 0; k < CGdiCounter::kKindCount; ++k)
            m_counts[k] = CGdiCounter::Get(static_cast<CGdiCounter::EKind>(k));
    }
    long Get(CGdiCounter::EKind kind) const { return m_counts[kind]; }
    // Empty when nothing changed since this snapshot was taken.
    std::string ChangesSince() const {
        std::string changes;
        for (int k = 0; k < CGdiCounter::kKindCount; ++k) {
            CGdiCounter::EKind kind = static_cast<CGdiCounter::EKind>(k);
            long delta = CGdiCounter::Get(kind) - m_counts[k];
            if (delta == 0)
                continue;
            if (!changes.empty())
                changes += ", ";
            changes += std::string(CGdiCounter::Name(kind)) + (delta > 0 ? " +" : " ") + std::to_string(delta);
        }
        return changes;
    }

private:
    long m_counts[CGdiCounter::kKindCount];
};
