// Every check's function; check_table.cpp lists them with their names and contracts.
#ifndef QX_VALIDATE_CHECKS_H
#define QX_VALIDATE_CHECKS_H

class CheckContext;

void CheckLoads(CheckContext& cx);
void CheckExports(CheckContext& cx);
void CheckVersionRecord(CheckContext& cx);
void CheckFactoryNullOut(CheckContext& cx);

void CheckUnknownSamePointer(CheckContext& cx);
void CheckQueryInterfaceRules(CheckContext& cx);
void CheckUnknownIdentifier(CheckContext& cx);
void CheckQueryInterfaceNullOut(CheckContext& cx);
void CheckCounting(CheckContext& cx);

void CheckStringBlocks(CheckContext& cx);
void CheckStringNullOut(CheckContext& cx);

void CheckIdentityAnyTime(CheckContext& cx);
void CheckItemNames(CheckContext& cx);
void CheckPropertiesOfItem(CheckContext& cx);
void CheckOwnRecord(CheckContext& cx);
void CheckCollectionCalls(CheckContext& cx);
void CheckCollectionFailure(CheckContext& cx);
void CheckUnknownItem(CheckContext& cx);
void CheckNullItemName(CheckContext& cx);
void CheckNotOffered(CheckContext& cx);
void CheckPlugPlay(CheckContext& cx);
void CheckPropertyChanges(CheckContext& cx);

void CheckBagRoundTrip(CheckContext& cx);
void CheckBagTypeMismatch(CheckContext& cx);
void CheckBagPresence(CheckContext& cx);
void CheckBagGetterNullOut(CheckContext& cx);
void CheckBagChangeTracking(CheckContext& cx);
void CheckBagClone(CheckContext& cx);
void CheckBagBatchLock(CheckContext& cx);

void CheckEnumNext(CheckContext& cx);
void CheckEnumSkipReset(CheckContext& cx);
void CheckEnumClone(CheckContext& cx);
void CheckEnumOutlivesSource(CheckContext& cx);

void CheckAllocIdentity(CheckContext& cx);
void CheckAllocNames(CheckContext& cx);
void CheckAllocBags(CheckContext& cx);
void CheckAllocReport(CheckContext& cx);
void CheckThreadsCounting(CheckContext& cx);
void CheckThreadsBag(CheckContext& cx);
void CheckLoadCycles(CheckContext& cx);

#endif
