#pragma once

#include <oaidl.h>
#include <string>
#include <vector>

// Late-bound calls on automation objects: members called by name through IDispatch, with
// arguments and results as automation values. Failures raise WordError with the object's message.
namespace penlark {

// A counted reference to an automation object.
class ComObject {
 public:
  ComObject() = default;
  // Takes over one reference the caller holds.
  explicit ComObject(IDispatch* adopted) : object_(adopted) {}
  ComObject(const ComObject& other);
  ComObject(ComObject&& other) noexcept;
  ComObject& operator=(ComObject other) noexcept;
  ~ComObject();

  IDispatch* Get() const { return object_; }
  // The object's identity, the same for every reference to one object.
  const void* Identity() const;

 private:
  IDispatch* object_ = nullptr;
};

// One automation value: an argument passed or a result returned.
class Variant {
 public:
  Variant();
  explicit Variant(int number);
  explicit Variant(bool flag);
  explicit Variant(const std::string& text);
  Variant(const Variant& other);
  Variant(Variant&& other) noexcept;
  Variant& operator=(Variant other) noexcept;
  ~Variant();

  // The marker of an optional argument left out, so that the callee applies its default.
  static Variant Missing();

  int ToInt() const;
  std::string ToText() const;
  ComObject ToObject() const;

  VARIANT* Raw() { return &value_; }

 private:
  // Mutable as the system's calls take even the values they only read without const.
  mutable VARIANT value_;
};

enum class CallKind : WORD {
  kGet = DISPATCH_PROPERTYGET,
  kPut = DISPATCH_PROPERTYPUT,
  kMethod = DISPATCH_METHOD,
};

// Calls `member` of `object` with `args` in their natural order.
Variant Invoke(const ComObject& object, const wchar_t* member, CallKind kind,
               std::vector<Variant> args = {});

inline Variant GetProperty(const ComObject& object, const wchar_t* member) {
  return Invoke(object, member, CallKind::kGet);
}

inline void PutProperty(const ComObject& object, const wchar_t* member, Variant value) {
  Invoke(object, member, CallKind::kPut, {std::move(value)});
}

inline Variant CallMethod(const ComObject& object, const wchar_t* member,
                          std::vector<Variant> args = {}) {
  return Invoke(object, member, CallKind::kMethod, std::move(args));
}

// Raises WordError for a failed call: the message of `error` when the object gave one, else the
// system's message for `result` with its code.
[[noreturn]] void RaiseComError(HRESULT result, const EXCEPINFO* error = nullptr);

}  // namespace penlark
