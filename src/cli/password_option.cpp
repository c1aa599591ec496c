#include "cli/password_option.h"

#include "document/estimate_doc.h"

namespace kovra::cli {
namespace {

// The answer is given to each file that asks (a compound and its protected chapters);
// a file asking again straight away was refused it and is not answered twice.
class given_password : public document::password_question {
public:
  std::optional<std::string> text;
  std::optional<std::string> ask(const std::string& path) override {
    if (!text || (last_asked && *last_asked == path)) {
      last_asked.reset();
      return std::nullopt;
    }
    last_asked = path;
    return text;
  }

private:
  std::optional<std::string> last_asked;
};

given_password& answer() {
  static given_password p;
  return p;
}

} // namespace

bool take_password_option(std::vector<std::string>& args, std::string& error) {
  const std::string prefix = "--password=";
  for (std::size_t i = 0; i < args.size();) {
    if (args[i] == "--password") {
      if (i + 1 >= args.size()) {
        error = "--password needs a value";
        return false;
      }
      answer().text = args[i + 1];
      args.erase(args.begin() + long(i), args.begin() + long(i) + 2);
    } else if (args[i].rfind(prefix, 0) == 0) {
      answer().text = args[i].substr(prefix.size());
      args.erase(args.begin() + long(i));
    } else {
      ++i;
    }
  }
  if (answer().text) document::set_password_question(&answer());
  return true;
}

} // namespace kovra::cli
