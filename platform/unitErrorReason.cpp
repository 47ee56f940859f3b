#include "platform/unitErrorReason.h"

#include <new>

std::string ErrorMessage(const std::exception& Error) {
  if (dynamic_cast<const std::bad_alloc*>(&Error)) return "Out of memory";
  return Error.what();
}

std::string ErrorReason(const std::exception& Error) {
  try {
    std::rethrow_if_nested(Error);
  } catch (const std::exception& Nested) {
    return ErrorMessageWithReason(Nested);
  } catch (...) {
  }
  return {};
}

std::string ErrorMessageWithReason(const std::exception& Error) {
  const std::string Reason = ErrorReason(Error);
  return Reason.empty() ? ErrorMessage(Error) : ErrorMessage(Error) + ": " + Reason;
}

bool ErrorNames(const std::exception& Error, const std::string& Path) {
  return ErrorMessageWithReason(Error).find(Path) != std::string::npos;
}

std::string FailureNamingFile(const std::string& Path, const std::exception& Error) {
  const std::string Failure = ErrorMessageWithReason(Error);
  return ErrorNames(Error, Path) ? Failure : Path + ": " + Failure;
}
