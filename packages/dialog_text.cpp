// Field values as text (see dialog_text.h).
#include "dialog_text.h"

#include <type_traits>

#include "dialog_format.h"
#include "runtime/conversions.h"

namespace dialog_detail {
namespace {

using namespace dialog;

std::string quoted(const std::string& s) {
  std::string out = "\"";
  for (char c : s) {
    switch (c) {
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      default: out += c;
    }
  }
  return out + "\"";
}

std::string term(std::int32_t n) { return CONV_s_i_oi(n); }
std::string term(double r) { return CONV_s_r_oi(r); }
std::string term(bool b) { return b ? "1" : "0"; }
std::string term(const std::string& s) { return quoted(s); }

template <class T>
std::string term(const std::vector<T>& list) {
  std::string out = "[";
  for (std::size_t i = 0; i < list.size(); ++i) {
    if (i) out += ',';
    out += term(list[i]);
  }
  return out + "]";
}

template <class T>
std::string term(const std::optional<T>& v) {
  if (!v) return "void";
  return std::string(std::is_same_v<T, double> ? "r(" : "i(") + term(*v) + ")";
}

template <class... A>
std::string functor(const char* name, const A&... args) {
  std::string out = name;
  out += '(';
  bool first = true;
  ((out += (first ? "" : ","), out += term(args), first = false), ...);
  return out + ")";
}

// Properties of both kinds of field.
template <class P>
std::string property_term(const P& prop) {
  return std::visit(
      [](const auto& p) -> std::string {
        using T = std::decay_t<decltype(p)>;
        if constexpr (std::is_same_v<T, mandatory>) return "mandatory";
        else if constexpr (std::is_same_v<T, length>) return functor("length", p.max_chars);
        else if constexpr (std::is_same_v<T, decimals>) return functor("decimals", p.n);
        else if constexpr (std::is_same_v<T, upper>) return "upper";
        else if constexpr (std::is_same_v<T, lower>) return "lower";
        else if constexpr (std::is_same_v<T, enable>) return functor("enable", p.on);
        else if constexpr (std::is_same_v<T, show>) return functor("show", p.on);
        else if constexpr (requires { p.value; }) return functor("default", p.value);
        else if constexpr (requires { p.min; p.max; }) return functor("range", p.min, p.max);
        else if constexpr (requires { p.min; }) return functor("minimum", p.min);
        else return functor("maximum", p.max);
      },
      prop);
}

template <class P>
std::string properties(const std::vector<P>& props) {
  std::string out = "[";
  for (std::size_t i = 0; i < props.size(); ++i) {
    if (i) out += ',';
    out += property_term(props[i]);
  }
  return out + "]";
}

}  // namespace

std::string edit_text(const FieldValue& value) {
  return std::visit(
      [](const auto& f) -> std::string {
        using F = std::decay_t<decltype(f)>;
        if constexpr (std::is_same_v<F, editstr>) {
          return f.text;
        } else if constexpr (std::is_same_v<F, editint> || std::is_same_v<F, editlong>) {
          return f.value ? CONV_s_i_oi(*f.value) : std::string();
        } else if constexpr (std::is_same_v<F, editreal>) {
          if (!f.value) return {};
          for (const auto& p : f.props)
            if (const auto* d = std::get_if<decimals>(&p)) return format(format("%%4.%f", {d->n}), {*f.value});
          return CONV_s_r_oi(*f.value);
        } else {
          return {};
        }
      },
      value);
}

std::string value_term(const FieldValue& value) {
  return std::visit(
      [](const auto& f) -> std::string {
        using F = std::decay_t<decltype(f)>;
        if constexpr (std::is_same_v<F, checkbox>) return functor("checkbox", f.checked);
        else if constexpr (std::is_same_v<F, radiobuttongroup>) return functor("radiobuttongroup", f.buttons, f.selected);
        else if constexpr (std::is_same_v<F, pushbutton>) return functor("pushbutton", f.text);
        else if constexpr (std::is_same_v<F, editstr>) return "editstr(" + quoted(f.text) + "," + properties(f.props) + ")";
        else if constexpr (std::is_same_v<F, editint>) return "editint(" + term(f.value) + "," + properties(f.props) + ")";
        else if constexpr (std::is_same_v<F, editlong>) return "editlong(" + term(f.value) + "," + properties(f.props) + ")";
        else if constexpr (std::is_same_v<F, editreal>) return "editreal(" + term(f.value) + "," + properties(f.props) + ")";
        else if constexpr (std::is_same_v<F, statictext>) return functor("statictext", f.text);
        else if constexpr (std::is_same_v<F, listbox>) return functor("listbox", f.items, f.selected);
        else if constexpr (std::is_same_v<F, listbutton>) return functor("listbutton", f.items, f.selected);
        else if constexpr (std::is_same_v<F, listedit>) return functor("listedit", f.items, f.text);
        else if constexpr (std::is_same_v<F, scrollbar>) return functor("scrollbar", f.min, f.max, f.pos);
        else if constexpr (std::is_same_v<F, custom>) return functor("custom", f.data);
        else return functor("datafield", f.data);
      },
      value);
}

std::string field_term(const Field& field) {
  const std::string prompt = std::visit(
      [](const auto& p) -> std::string {
        using P = std::decay_t<decltype(p)>;
        if constexpr (std::is_same_v<P, own_prompt>) return functor("own_prompt", p.text);
        else if constexpr (std::is_same_v<P, dlg_prompt>) return functor("dlg_prompt", p.label_id);
        else if constexpr (std::is_same_v<P, str_prompt>) return functor("str_prompt", p.name);
        else return "nopr";
      },
      field.prompt);
  return "df(" + term(static_cast<std::int32_t>(field.ctl_id)) + "," + value_term(field.value) + "," + prompt + ")";
}

}  // namespace dialog_detail
