#include "engine/FinishRoutine.h"

namespace vek {

void RunFinishRoutine(const TRunContext& aContext, const TFinishLog& aLog) {
  (void)aContext;
  (void)aLog;
}

void CancelPendingDeletion(const std::string& aFile) { (void)aFile; }

}  // namespace vek
