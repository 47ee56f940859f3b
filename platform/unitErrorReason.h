#pragma once
// Errors that say why: a failure is raised with its reason nested in it (std::throw_with_nested),
// so its own text stays as it is and whoever shows it can add the reason: the editor as the
// message box's detail, pelbrook-tool after the message.

#include <exception>
#include <stdexcept>
#include <string>

// Raises Error with Reason nested in it.
template <class TError>
[[noreturn]] void RaiseWithReason(const TError& Error, const std::string& Reason) {
  try {
    throw std::runtime_error(Reason);
  } catch (...) {
    std::throw_with_nested(Error);
  }
}

// Error's own text; "Out of memory" for std::bad_alloc, whose text means nothing to a user.
std::string ErrorMessage(const std::exception& Error);
// The reasons nested in Error, outermost first, joined by ": "; empty when it carries none.
std::string ErrorReason(const std::exception& Error);
// The message, then the reason after ": " when there is one.
std::string ErrorMessageWithReason(const std::exception& Error);
// Whether the message or a reason names Path.
bool ErrorNames(const std::exception& Error, const std::string& Path);
// The message with its reason, naming Path once: in the error's own words, or before them.
std::string FailureNamingFile(const std::string& Path, const std::exception& Error);
