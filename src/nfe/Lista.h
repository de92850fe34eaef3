#pragma once

#include <stdexcept>
#include <vector>

namespace kvo::nfe {

// A repeated group of the document (det, NFref, dup, detPag...): Add appends a
// blank entry and returns it for filling, as the callers fill groups in place.
template <typename T>
class Lista {
public:
    T& Add() { return m_items.emplace_back(); }
    T& Items(int i) { return at(i); }
    const T& Items(int i) const { return at(i); }
    T& operator[](int i) { return at(i); }
    const T& operator[](int i) const { return at(i); }
    int Count() const { return int(m_items.size()); }
    bool isEmpty() const { return m_items.empty(); }
    void Clear() { m_items.clear(); }
    void reserve(int n) { m_items.reserve(std::size_t(n)); }
    auto begin() { return m_items.begin(); }
    auto end() { return m_items.end(); }
    auto begin() const { return m_items.begin(); }
    auto end() const { return m_items.end(); }
    bool operator==(const Lista&) const = default;

private:
    T& at(int i) { return m_items.at(std::size_t(i)); }
    const T& at(int i) const { return m_items.at(std::size_t(i)); }
    std::vector<T> m_items;
};

} // namespace kvo::nfe
