// A small strict JSON reader for the tests: enough to prove the tool's output parses (no
// trailing text, duplicate keys or raw control bytes) and to walk it.
#pragma once

#include <cctype>
#include <cstdlib>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

namespace qv::testjson {

struct Value {
  enum Kind { Null, Bool, Number, String, Array, Object } K = Null;
  bool B = false;
  double N = 0;
  std::string S;
  std::vector<Value> A;
  std::map<std::string, Value> O;

  const Value& operator[](const std::string& key) const {
    if (K != Object || !O.count(key)) throw std::runtime_error("no key " + key);
    return O.at(key);
  }
  const Value& operator[](size_t i) const {
    if (K != Array || i >= A.size()) throw std::runtime_error("no index");
    return A[i];
  }
  size_t size() const { return K == Array ? A.size() : O.size(); }
  bool Has(const std::string& key) const { return K == Object && O.count(key) > 0; }
  long long Int() const {
    if (K != Number || N != static_cast<double>(static_cast<long long>(N)))
      throw std::runtime_error("not an integer");
    return static_cast<long long>(N);
  }
};

class Parser {
 public:
  explicit Parser(const std::string& text) : t_(text) {}
  Value ParseDocument() {
    Value v = ParseValue();
    if (Skip(), p_ != t_.size()) Fail("trailing text");
    return v;
  }

 private:
  [[noreturn]] void Fail(const std::string& why) {
    throw std::runtime_error("JSON: " + why + " at " + std::to_string(p_));
  }
  void Skip() {
    while (p_ < t_.size() && std::isspace(static_cast<unsigned char>(t_[p_]))) ++p_;
  }
  bool Eat(char c) { return Skip(), p_ < t_.size() && t_[p_] == c ? (++p_, true) : false; }
  void Expect(char c) {
    if (!Eat(c)) Fail(std::string("expected ") + c);
  }
  bool Word(const std::string& w) { return t_.compare(p_, w.size(), w) == 0 && (p_ += w.size()); }
  std::string ParseString() {
    Expect('"');
    std::string out;
    while (p_ < t_.size() && t_[p_] != '"') {
      const char c = t_[p_++];
      if (static_cast<unsigned char>(c) < 0x20 || (c == '\\' && p_ >= t_.size())) Fail("string");
      if (c != '\\') {
        out += c;
      } else if (const char e = t_[p_++]; e == 'u') {
        if (p_ + 4 > t_.size()) Fail("bad escape");
        out += static_cast<char>(std::strtol(t_.substr(p_, 4).c_str(), nullptr, 16));
        p_ += 4;
      } else {
        out += e == 'n' ? '\n' : e == 't' ? '\t' : e;
      }
    }
    Expect('"');
    return out;
  }
  Value ParseValue() {
    if (Skip(), p_ >= t_.size()) Fail("unexpected end");
    Value v;
    if (Eat('{')) {
      v.K = Value::Object;
      if (Eat('}')) return v;
      do {
        Skip();
        const std::string key = ParseString();
        Expect(':');
        if (v.O.count(key)) Fail("duplicate key " + key);
        v.O[key] = ParseValue();
      } while (Eat(','));
      Expect('}');
    } else if (Eat('[')) {
      v.K = Value::Array;
      if (Eat(']')) return v;
      do v.A.push_back(ParseValue());
      while (Eat(','));
      Expect(']');
    } else if (t_[p_] == '"') {
      v.K = Value::String;
      v.S = ParseString();
    } else if (Word("true") || Word("false")) {
      v.K = Value::Bool;
      v.B = t_[p_ - 2] == 'u';
    } else if (!Word("null")) {
      const size_t start = p_;
      if (t_[p_] == '-') ++p_;
      if (p_ >= t_.size() || !std::isdigit(static_cast<unsigned char>(t_[p_]))) Fail("number");
      while (p_ < t_.size() && std::string("0123456789.eE+-").find(t_[p_]) != std::string::npos)
        ++p_;
      const std::string text = t_.substr(start, p_ - start);
      char* end = nullptr;
      v.K = Value::Number;
      v.N = std::strtod(text.c_str(), &end);
      if (*end != '\0') Fail("number");
    }
    return v;
  }

  const std::string& t_;
  size_t p_ = 0;
};

inline Value Parse(const std::string& text) {
  return Parser(text).ParseDocument();
}

}  // namespace qv::testjson
