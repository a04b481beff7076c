// The Enchant provider "spellcheck": Enchant's C tables of functions on the
// tool's dictionaries. Enchant keeps its own personal word list, exclude list
// and session for every provider and asks them before a provider; these
// hooks keep the spellcheck dictionaries in step (see README). No exception
// leaves a hook: a failure becomes Enchant's error text.
#include <enchant-provider.h>

#include <cstring>
#include <exception>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "catalogue/Catalogue.h"
#include "enchant/ProviderDictionary.h"

namespace {

using spellcheck::enchant::ProviderDictionary;

ProviderDictionary& Of(EnchantDict* dict) {
  return *static_cast<ProviderDictionary*>(dict->user_data);
}

std::string_view Word(const char* word, size_t length) {
  return std::string_view(word, length);
}

void Failed(EnchantDict* dict, const std::exception& error) {
  enchant_dict_set_error(dict, error.what());
}

// Enchant's convention for lists: a NULL-ended array of g_strdup'ed strings,
// freed with g_strfreev.
char** ToStrv(const std::vector<std::string>& strings, size_t* count) {
  *count = strings.size();
  if (strings.empty()) return nullptr;
  char** list = g_new0(char*, strings.size() + 1);
  for (std::size_t i = 0; i < strings.size(); ++i) list[i] = g_strdup(strings[i].c_str());
  return list;
}

int Check(EnchantDict* dict, const char* const word, size_t length) {
  try {
    return Of(dict).IsCorrect(Word(word, length)) ? 0 : 1;
  } catch (const std::exception& error) {
    Failed(dict, error);
    return -1;
  }
}

char** Suggest(EnchantDict* dict, const char* const word, size_t length, size_t* count) {
  *count = 0;
  try {
    return ToStrv(Of(dict).Suggest(Word(word, length)), count);
  } catch (const std::exception& error) {
    Failed(dict, error);
    return nullptr;
  }
}

void AddToPersonal(EnchantDict* dict, const char* const word, size_t length) {
  try {
    if (!Of(dict).AddToPersonal(Word(word, length))) {
      enchant_dict_set_error(dict, "the word holds a character the dictionaries cannot store");
    }
  } catch (const std::exception& error) {
    Failed(dict, error);
  }
}

void AddToSession(EnchantDict* dict, const char* const word, size_t length) {
  try {
    Of(dict).AddToSession(Word(word, length));
  } catch (const std::exception& error) {
    Failed(dict, error);
  }
}

// Enchant's "remove": the word goes on its exclude list and, here, out of
// the custom dictionary.
void AddToExclude(EnchantDict* dict, const char* const word, size_t length) {
  try {
    Of(dict).RemoveFromPersonal(Word(word, length));
  } catch (const std::exception& error) {
    Failed(dict, error);
  }
}

EnchantDict* RequestDict(EnchantProvider* provider, const char* const tag) {
  try {
    const auto language = spellcheck::catalogue::FindLanguage(tag);
    if (!language) return nullptr;
    auto dictionary = std::make_unique<ProviderDictionary>(*language);
    EnchantDict* dict = g_new0(EnchantDict, 1);
    dict->user_data = dictionary.release();
    dict->check = Check;
    dict->suggest = Suggest;
    dict->add_to_personal = AddToPersonal;
    dict->add_to_session = AddToSession;
    dict->add_to_exclude = AddToExclude;
    return dict;
  } catch (const std::exception& error) {
    enchant_provider_set_error(provider, error.what());
    return nullptr;
  }
}

void DisposeDict(EnchantProvider*, EnchantDict* dict) {
  delete static_cast<ProviderDictionary*>(dict->user_data);
  g_free(dict);
}

int DictionaryExists(EnchantProvider*, const char* const tag) {
  try {
    return spellcheck::catalogue::FindLanguage(tag) ? 1 : 0;
  } catch (const std::exception&) {
    return 0;
  }
}

char** ListDicts(EnchantProvider*, size_t* count) {
  *count = 0;
  try {
    std::vector<std::string> tags;
    for (const auto& each : spellcheck::catalogue::InstalledLanguages()) {
      tags.push_back(each.tag);
    }
    return ToStrv(tags, count);
  } catch (const std::exception&) {
    return nullptr;
  }
}

const char* Identify(EnchantProvider*) {
  return "spellcheck";
}
const char* Describe(EnchantProvider*) {
  return "spellcheck Provider";
}
void Dispose(EnchantProvider* provider) {
  g_free(provider);
}

}  // namespace

extern "C" __attribute__((visibility("default"))) EnchantProvider* init_enchant_provider() {
  EnchantProvider* provider = g_new0(EnchantProvider, 1);
  provider->dispose = Dispose;
  provider->request_dict = RequestDict;
  provider->dispose_dict = DisposeDict;
  provider->dictionary_exists = DictionaryExists;
  provider->identify = Identify;
  provider->describe = Describe;
  provider->list_dicts = ListDicts;
  return provider;
}
