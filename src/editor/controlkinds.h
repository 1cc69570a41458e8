#pragma once

#include <QObject>

// The surface tells its controls apart by their exact class, as the design
// rules do: a class derived from a button or a text area is not one.
template <class T>
bool isExactly(const QObject *obj)
{
    return obj && obj->metaObject() == &T::staticMetaObject;
}
