// SPDX-License-Identifier: MIT
// A step of a person's solution path as a value: the technique, the pattern it rests on and
// what it changes. The rater, the hint and the explanation are three readers of one path.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

namespace kz::logic {

struct Proof;

/// Every technique the solver knows, easiest first. The order is that of the technique table
/// (logic/techniques.cpp), which checks it as it is compiled.
enum class Technique : std::uint8_t {
    FullHouse,
    HiddenSingle,
    NakedSingle,
    Pointing,
    Claiming,
    NakedPair,
    HiddenPair,
    NakedTriple,
    XWing,
    HiddenTriple,
    Skyscraper,
    TwoStringKite,
    XYWing,
    XYZWing,
    WWing,
    Swordfish,
    SimpleColouring,
    UniqueRectangle1,
    BugPlusOne,
    NakedQuad,
    Jellyfish,
    HiddenQuad,
    WXYZWing,
    VWXYZWing,
    XChain,
    XYChain,
    Aic,
    AlsXz,
    ForcingChain,
    ForcingNet,
    ForcingChainPlus,
    NestedForcingChain,
    NestedMultipleChain,
    NestedDynamicChain,
    Guess,
};

inline constexpr int kTechniqueCount = static_cast<int>(Technique::Guess) + 1;
inline constexpr int kMaxLevel = 6;

/// What the rating and the window know of a technique. Adding a technique is one finder plus
/// one row of the technique table (its level, weight, names, finder and wording).
struct TechniqueInfo {
    Technique technique;
    int level;   ///< 1..6: the smallest level whose set holds it
    int weight;  ///< orders techniques; grows with the level
    /// Its difficulty on the community's scale (SER), in tenths: the published value, or for
    /// a technique the scale does not name, the value of the chain it is. A step of a chain
    /// technique adds to it by its length (StepDifficulty, logic/solver.h).
    int ser;
    bool needsUniqueness;       ///< only sound on a board known to have one solution
    std::string_view english;   ///< as English-speaking players name it
    std::string_view japanese;  ///< as Japanese players name it
};

const TechniqueInfo& Info(Technique t);

/// The level names 入門 … 超難問 (level 1..6).
std::string_view LevelName(int level);

struct Placement {
    std::int8_t cell;   ///< 0..80
    std::int8_t digit;  ///< 1..9
    bool operator==(const Placement&) const = default;
};

struct Elimination {
    std::int8_t cell;   ///< 0..80
    std::int8_t digit;  ///< 1..9
    bool operator==(const Elimination&) const = default;
};

/// A list that keeps its first N entries inside itself. A path holds hundreds of steps whose
/// lists mostly have one to four entries, and allocating every one of them was a measurable
/// share of rating a board. It offers the vector operations steps are built and read with,
/// and converts to and from std::vector.
template <typename T, std::size_t N>
class ShortList {
    static_assert(std::is_trivially_copyable_v<T> && N > 0);

public:
    using value_type = T;
    using size_type = std::size_t;
    using difference_type = std::ptrdiff_t;
    using reference = T&;
    using const_reference = const T&;
    using iterator = T*;
    using const_iterator = const T*;

    ShortList() = default;
    ShortList(std::initializer_list<T> items) { Append(items.begin(), items.end()); }
    ShortList(const std::vector<T>& items) { Append(items.data(), items.data() + items.size()); }
    ShortList(const ShortList& other) { Append(other.begin(), other.end()); }
    ShortList(ShortList&& other) noexcept { Take(other); }
    ~ShortList() { Release(); }

    ShortList& operator=(const ShortList& other) {
        if (this != &other) {
            clear();
            Append(other.begin(), other.end());
        }
        return *this;
    }
    ShortList& operator=(ShortList&& other) noexcept {
        if (this != &other) {
            Release();
            Take(other);
        }
        return *this;
    }
    ShortList& operator=(std::initializer_list<T> items) {
        clear();
        Append(items.begin(), items.end());
        return *this;
    }
    ShortList& operator=(const std::vector<T>& items) {
        clear();
        Append(items.data(), items.data() + items.size());
        return *this;
    }

    operator std::vector<T>() const { return std::vector<T>(begin(), end()); }

    T* begin() { return m_data; }
    T* end() { return m_data + m_size; }
    const T* begin() const { return m_data; }
    const T* end() const { return m_data + m_size; }
    T* data() { return m_data; }
    const T* data() const { return m_data; }
    size_type size() const { return m_size; }
    bool empty() const { return m_size == 0; }
    T& operator[](size_type i) { return m_data[i]; }
    const T& operator[](size_type i) const { return m_data[i]; }
    const T& at(size_type i) const {
        if (i >= m_size) throw std::out_of_range("ShortList::at");
        return m_data[i];
    }
    T& front() { return m_data[0]; }
    const T& front() const { return m_data[0]; }
    T& back() { return m_data[m_size - 1]; }
    const T& back() const { return m_data[m_size - 1]; }

    void clear() { m_size = 0; }
    void reserve(size_type n) {
        if (n > m_capacity) Grow(n);
    }
    void push_back(const T& item) {
        if (m_size == m_capacity) Grow(2 * m_capacity);
        m_data[m_size++] = item;
    }
    template <typename... Args>
    T& emplace_back(Args&&... args) {
        push_back(T{std::forward<Args>(args)...});
        return back();
    }

    friend bool operator==(const ShortList& a, const ShortList& b) {
        return std::equal(a.begin(), a.end(), b.begin(), b.end());
    }
    friend bool operator==(const ShortList& a, const std::vector<T>& b) {
        return std::equal(a.begin(), a.end(), b.begin(), b.end());
    }

private:
    bool Inline() const { return m_data == m_inline; }

    void Append(const T* first, const T* last) {
        reserve(m_size + static_cast<size_type>(last - first));
        std::copy(first, last, m_data + m_size);
        m_size += static_cast<size_type>(last - first);
    }

    void Grow(size_type capacity) {
        auto bigger = std::make_unique<T[]>(capacity);
        std::copy(begin(), end(), bigger.get());
        Release();
        m_data = bigger.release();
        m_capacity = capacity;
    }

    // Leaves the list on its inline room, with the size it had.
    void Release() {
        if (!Inline()) delete[] m_data;
        m_data = m_inline;
        m_capacity = N;
    }

    void Take(ShortList& other) {
        m_size = other.m_size;
        if (other.Inline()) {
            // The whole inline room: a copy of fixed size is a few moves, not a call.
            std::memcpy(m_inline, other.m_inline, sizeof m_inline);
        } else {
            m_data = other.m_data;
            m_capacity = other.m_capacity;
            other.m_data = other.m_inline;
            other.m_capacity = N;
        }
        other.m_size = 0;
    }

    T* m_data = m_inline;
    size_type m_size = 0;
    size_type m_capacity = N;
    T m_inline[N]{};
};

struct Step {
    Technique technique{};
    ShortList<std::int8_t, 8>
        cells;  ///< the pattern's cells (0..80), in the order the text names them
    ShortList<std::int8_t, 4> units;   ///< the units it rests on (0..26)
    ShortList<std::int8_t, 4> digits;  ///< the digits the pattern is about
    ShortList<Placement, 1> placements;
    ShortList<Elimination, 4> eliminations;
    /// Chains and nets in Eureka notation with r1c1 cell names, e.g. "(5)r1c2=r1c7-r4c7=r4c2";
    /// empty for other techniques. A nested chain's inner proofs follow on lines of their own,
    /// indented, each named by the number its removal carries in the outer chain ("[1]").
    std::string chain;
    /// The nodes of a chain whose notation does not count them (a nested chain's, its inner
    /// proofs' included), which its difficulty grows with; 0 where the notation tells.
    std::uint16_t nodes = 0;
    /// What the step rests on, as the search that found it saw it (logic/proof.h): every word,
    /// picture and the notation of a chain step are read from it. Empty for the steps whose
    /// pattern says it all.
    std::shared_ptr<const Proof> proof{};
};

}  // namespace kz::logic
