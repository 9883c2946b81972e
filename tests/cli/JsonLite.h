// A small strict JSON reader for the tests: enough to prove the tool's output parses and to
// walk it.
#pragma once

#include <cctype>
#include <cstdlib>
#include <map>
#include <memory>
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
    auto it = O.find(key);
    if (K != Object || it == O.end()) throw std::runtime_error("no key " + key);
    return it->second;
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
    Skip();
    if (p_ != t_.size()) Fail("trailing text");
    return v;
  }

 private:
  [[noreturn]] void Fail(const std::string& why) {
    throw std::runtime_error("JSON: " + why + " at " + std::to_string(p_));
  }
  void Skip() {
    while (p_ < t_.size() && std::isspace(static_cast<unsigned char>(t_[p_]))) ++p_;
  }
  bool Eat(char c) {
    Skip();
    if (p_ < t_.size() && t_[p_] == c) return ++p_, true;
    return false;
  }
  void Expect(char c) {
    if (!Eat(c)) Fail(std::string("expected ") + c);
  }
  bool Word(const char* w) {
    std::string s(w);
    if (t_.compare(p_, s.size(), s) != 0) return false;
    p_ += s.size();
    return true;
  }
  std::string ParseString() {
    Expect('"');
    std::string out;
    while (p_ < t_.size() && t_[p_] != '"') {
      char c = t_[p_++];
      if (static_cast<unsigned char>(c) < 0x20) Fail("control byte in string");
      if (c == '\\') {
        if (p_ >= t_.size()) Fail("bad escape");
        char e = t_[p_++];
        if (e == 'u') {
          if (p_ + 4 > t_.size()) Fail("bad escape");
          out += static_cast<char>(std::strtol(t_.substr(p_, 4).c_str(), nullptr, 16));
          p_ += 4;
        } else {
          out += e == 'n' ? '\n' : e == 't' ? '\t' : e;
        }
      } else {
        out += c;
      }
    }
    Expect('"');
    return out;
  }
  Value ParseNumber() {
    size_t start = p_;
    if (t_[p_] == '-') ++p_;
    if (p_ >= t_.size() || !std::isdigit(static_cast<unsigned char>(t_[p_]))) Fail("number");
    while (p_ < t_.size() && (std::isdigit(static_cast<unsigned char>(t_[p_])) ||
                              std::string(".eE+-").find(t_[p_]) != std::string::npos))
      ++p_;
    Value v;
    v.K = Value::Number;
    char* end = nullptr;
    std::string text = t_.substr(start, p_ - start);
    v.N = std::strtod(text.c_str(), &end);
    if (*end != '\0') Fail("number");
    return v;
  }
  Value ParseValue() {
    Skip();
    if (p_ >= t_.size()) Fail("unexpected end");
    Value v;
    char c = t_[p_];
    if (c == '{') {
      ++p_;
      v.K = Value::Object;
      if (Eat('}')) return v;
      do {
        Skip();
        std::string key = ParseString();
        Expect(':');
        if (v.O.count(key)) Fail("duplicate key " + key);
        v.O[key] = ParseValue();
      } while (Eat(','));
      Expect('}');
    } else if (c == '[') {
      ++p_;
      v.K = Value::Array;
      if (Eat(']')) return v;
      do v.A.push_back(ParseValue());
      while (Eat(','));
      Expect(']');
    } else if (c == '"') {
      v.K = Value::String;
      v.S = ParseString();
    } else if (Word("true") || Word("false")) {
      v.K = Value::Bool;
      v.B = t_[p_ - 1] == 'e' && t_[p_ - 2] == 'u';
    } else if (Word("null")) {
      v.K = Value::Null;
    } else {
      v = ParseNumber();
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
