// The grid's option set: member i of TDBGridOption is bit i of the numeric value, so the two sets
// the windows use are 3325 (default) and 3324 (read-only: the default without dgEditing).
#pragma once

#include <initializer_list>

enum TDBGridOption {
    dgEditing,
    dgAlwaysShowEditor,
    dgTitles,
    dgIndicator,
    dgColumnResize,
    dgColLines,
    dgRowLines,
    dgTabs,
    dgRowSelect,
    dgAlwaysShowSelection,
    dgConfirmDelete,
    dgCancelOnExit,
    dgMultiSelect,
};

class TDBGridOptions {
public:
    constexpr TDBGridOptions() = default;
    constexpr TDBGridOptions(std::initializer_list<TDBGridOption> members) {
        for (TDBGridOption m : members)
            m_bits |= 1u << m;
    }
    static constexpr TDBGridOptions FromValue(unsigned value) {
        TDBGridOptions o;
        o.m_bits = value & ((1u << (dgMultiSelect + 1)) - 1);
        return o;
    }
    static constexpr TDBGridOptions Default() {
        return {dgEditing,  dgTitles, dgIndicator,     dgColumnResize, dgColLines,
                dgRowLines, dgTabs,   dgConfirmDelete, dgCancelOnExit};
    }
    static constexpr TDBGridOptions ReadOnly() { return Default() - dgEditing; }

    constexpr unsigned Value() const { return m_bits; }
    constexpr bool Contains(TDBGridOption m) const { return m_bits & (1u << m); }
    constexpr TDBGridOptions operator+(TDBGridOption m) const { return FromValue(m_bits | (1u << m)); }
    constexpr TDBGridOptions operator-(TDBGridOption m) const { return FromValue(m_bits & ~(1u << m)); }
    constexpr bool operator==(TDBGridOptions o) const { return m_bits == o.m_bits; }
    constexpr bool operator!=(TDBGridOptions o) const { return m_bits != o.m_bits; }

private:
    unsigned m_bits = 0;
};

static_assert(TDBGridOptions::Default().Value() == 3325, "the default option set is 0xCFD");
static_assert(TDBGridOptions::ReadOnly().Value() == 3324, "the read-only option set is 0xCFC");
