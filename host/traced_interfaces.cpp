#include "host/traced_interfaces.h"

#include "host/traced_calls.h"

using traced::DropHold;
using traced::IsTraced;
using traced::Trace;
using traced::Wrap;

IkcSysExpert2* TraceExpert(CallTrace* trace, IkcSysExpert2* expert) {
    IkcSysExpert2* wrapped = expert;
    Trace(trace, [&] { wrapped = Wrap(trace, expert); });
    return wrapped;
}

std::string TracedLabel(IkcSysExpert2* expert) {
    return traced::Label(expert);
}

IkcSysPropertyBagCollection* TraceHostCollection(CallTrace* trace,
                                                 IkcSysPropertyBagCollection* collection) {
    IkcSysPropertyBagCollection* wrapped = collection;
    Trace(trace, [&] { wrapped = Wrap(trace, collection); });
    return wrapped;
}

void EndHostHold(IkcSysPropertyBagCollection* collection) {
    if (IsTraced(collection))
        DropHold(collection);
}
