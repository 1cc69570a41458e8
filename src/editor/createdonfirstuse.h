#pragma once

#include <QPointer>
#include <functional>

// A window the program keeps for its whole run but makes only when it is
// first used: a dialog nobody opens costs neither start-up time nor memory.
// It reads like the pointer it stands for; the window belongs to its Qt
// parent, and one destroyed with it is made anew at the next use.
template <class T>
class CreatedOnFirstUse {
public:
    explicit CreatedOnFirstUse(std::function<T *()> create) : m_create(std::move(create)) {}
    CreatedOnFirstUse(const CreatedOnFirstUse &) = delete;
    CreatedOnFirstUse &operator=(const CreatedOnFirstUse &) = delete;

    T *get()
    {
        if (!m_window)
            m_window = m_create();
        return m_window;
    }
    T *operator->() { return get(); }
    operator T *() { return get(); }
    bool created() const { return !m_window.isNull(); }

private:
    std::function<T *()> m_create;
    QPointer<T> m_window;
};
