// The module's counted pointer: the one holder template of qxzeva/ref.h, counting through
// the C++ interfaces' own operations. Hosts of the C view use the same template as
// qxzeva::Ref, counting through the table of operations.
#ifndef QX_COM_COMPTR_H
#define QX_COM_COMPTR_H

#include "qxzeva/ref.h"

template <class T>
using CQXComPtr = qxzeva::BasicRef<T, qxzeva::MemberCounting>;

#endif
