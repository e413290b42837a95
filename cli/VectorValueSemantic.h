#pragma once

#include "cli/internalError.h"

#include <boost/any.hpp>
#include <boost/program_options/errors.hpp>
#include <boost/program_options/value_semantic.hpp>

#include <sstream>
#include <string>
#include <vector>

// Reads one configuration value holding several blank-separated words into a vector
// of elements, each word through the element's stream extraction.
template <typename T>
class VectorValueSemantic : public boost::program_options::value_semantic_codecvt_helper<char> {
public:
    std::string name() const override { return {}; }

    unsigned min_tokens() const override { return 1; }

    unsigned max_tokens() const override { return 1; }

    bool is_composing() const override { return false; }

    bool is_required() const override { return false; }

    bool apply_default(boost::any&) const override { return false; }

    void notify(const boost::any&) const override {}

protected:
    void xparse(boost::any& valueStore, const std::vector<std::string>& tokens) const override
    {
        // A key given twice in one part of the file is an error, not a silent overwrite.
        if (!valueStore.empty()) {
            throw boost::program_options::multiple_occurrences();
        }
        if (tokens.size() != 1) {
            throw WrongCliTokensCount();
        }
        const std::string& token = tokens.front();
        std::istringstream words(token);
        std::vector<T> elements;
        std::string word;
        while (words >> word) {
            std::istringstream wordStream(word);
            T element;
            if (!(wordStream >> element)) {
                throw boost::program_options::invalid_option_value(word);
            }
            elements.push_back(element);
        }
        if (elements.empty()) {
            throw boost::program_options::invalid_option_value(token);
        }
        valueStore = elements;
    }
};
