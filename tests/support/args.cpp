#include "tests/support/args.h"

#include <algorithm>
#include <cwchar>

namespace zol::test {

namespace {

bool is_key(const std::wstring& word) { return word.rfind(L"--", 0) == 0; }

bool listed(const std::vector<std::wstring>& keys, const std::wstring& word) {
    return std::find(keys.begin(), keys.end(), word) != keys.end();
}

}  // namespace

Args::Args(int argc, wchar_t** argv, int first) {
    std::vector<std::wstring> words;
    for (int i = first; i < argc; ++i) words.emplace_back(argv[i]);
    read(words);
}

Args::Args(int argc, char** argv, int first) {
    std::vector<std::wstring> words;
    for (int i = first; i < argc; ++i) {
        const std::string word = argv[i];
        words.emplace_back(word.begin(), word.end());
    }
    read(words);
}

Args::Args(const std::vector<std::wstring>& words) { read(words); }

void Args::read(const std::vector<std::wstring>& words) {
    words_ = words;
    for (std::size_t i = 0; i < words.size(); ++i) {
        if (!is_key(words[i])) continue;
        if (i + 1 < words.size() && !is_key(words[i + 1])) {
            values_[words[i]] = words[i + 1];
            ++i;
        } else {
            values_[words[i]] = L"";
        }
    }
}

std::wstring Args::text(const std::wstring& key, const std::wstring& fallback) const {
    const auto it = values_.find(key);
    return it == values_.end() ? fallback : it->second;
}

int Args::number(const std::wstring& key, int fallback) const {
    const auto it = values_.find(key);
    if (it == values_.end() || it->second.empty()) return fallback;
    return static_cast<int>(std::wcstol(it->second.c_str(), nullptr, 10));
}

double Args::real(const std::wstring& key, double fallback) const {
    const auto it = values_.find(key);
    if (it == values_.end() || it->second.empty()) return fallback;
    return std::wcstod(it->second.c_str(), nullptr);
}

bool Args::flag(const std::wstring& key) const { return values_.count(key) != 0; }

bool Args::only(const std::vector<std::wstring>& with_value, const std::vector<std::wstring>& flags) const {
    for (std::size_t i = 0; i < words_.size(); ++i) {
        if (listed(flags, words_[i])) continue;
        if (!listed(with_value, words_[i]) || i + 1 >= words_.size() || is_key(words_[i + 1])) return false;
        ++i;
    }
    return true;
}

}  // namespace zol::test
