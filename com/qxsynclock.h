// A scoped acquisition of a synchronisation object: waits without limit on construction and
// releases one level on every way out of the scope, exceptions included.
#ifndef QX_COM_QXSYNCLOCK_H
#define QX_COM_QXSYNCLOCK_H

#include "com/qxcs.h"

namespace Tessaly {

class CqxSyncLock {
public:
    explicit CqxSyncLock(CqxSyncObject& object) : m_object(object) { m_object.Lock(-1); }
    ~CqxSyncLock() { m_object.Unlock(); }
    CqxSyncLock(const CqxSyncLock&) = delete;
    CqxSyncLock& operator=(const CqxSyncLock&) = delete;

private:
    CqxSyncObject& m_object;
};

} // namespace Tessaly

#endif
