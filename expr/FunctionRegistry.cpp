// The registrations of the built-in functions, in one place: they are made
// before main runs, and again on demand by the first lookup should a static
// initialiser elsewhere get there first.
#include "expr/Function.h"

namespace {

using namespace builtin;

bool registerFunctions() {
  static const ClassRegister<Deg, Function> deg("deg");
  static const ClassRegister<Sin, Function> sin("sin");
  static const ClassRegister<Cos, Function> cos("cos");
  static const ClassRegister<Tan, Function> tan("tan");
  static const ClassRegister<Asin, Function> asin("asin");
  static const ClassRegister<Acos, Function> acos("acos");
  static const ClassRegister<Atan, Function> atan("atan");
  static const ClassRegister<SinH, Function> sinh("sinh");
  static const ClassRegister<CosH, Function> cosh("cosh");
  static const ClassRegister<TanH, Function> tanh("tanh");
  static const ClassRegister<AsinH, Function> asinh("asinh");
  static const ClassRegister<AcosH, Function> acosh("acosh");
  static const ClassRegister<AtanH, Function> atanh("atanh");
  static const ClassRegister<Exp, Function> exp("exp");
  static const ClassRegister<Ln, Function> ln("ln");
  static const ClassRegister<Lg, Function> lg("lg");
  static const ClassRegister<Log, Function> log("log");
  static const ClassRegister<Sqrt, Function> sqrt("sqrt");
  static const ClassRegister<Abs, Function> abs("abs");
  static const ClassRegister<Round, Function> round("round");
  static const ClassRegister<Floor, Function> floor("floor");
  static const ClassRegister<Fix, Function> fix("fix");
  static const ClassRegister<Ceil, Function> ceil("ceil");
  return true;
}

[[maybe_unused]] const bool registeredAtStartUp = registerFunctions();

}  // namespace

template <>
Reflectable<Function>::Creators& Reflectable<Function>::creators() {
  static const bool registered = registerFunctions();
  (void)registered;
  return table();
}
