// Tracing tables of operations: each interface pointer the host obtains from the module is
// replaced by one whose table writes the call to a CallTrace and forwards it, arguments and
// result unchanged, to the module's own pointer. Every slot of every interface the host can
// obtain is traced; pointers obtained through a traced one (enumerators, bags, clones,
// QueryInterface) are traced in turn.
#ifndef QX_HOST_TRACED_INTERFACES_H
#define QX_HOST_TRACED_INTERFACES_H

#include "cli/c_view.h"
#include "host/call_trace.h"

#include <string>

// The expert the module's factory made, traced; it holds the reference the host received
// and goes with the last Release made through it. Null stays null.
IkcSysExpert2* TraceExpert(CallTrace* trace, IkcSysExpert2* expert);

// "IkcSysExpert2#1": how the trace names the expert.
std::string TracedLabel(IkcSysExpert2* expert);

// The host's own collection as the module is to see it: the module's calls into it are
// traced, and so are the host's calls on the bags it is given. The host gives it to the
// module and ends its own hold with EndHostHold once that call has returned.
IkcSysPropertyBagCollection* TraceHostCollection(CallTrace* trace,
                                                 IkcSysPropertyBagCollection* collection);
void EndHostHold(IkcSysPropertyBagCollection* collection);

#endif
