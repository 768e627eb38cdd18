"""The languages of the message catalogue (plugin/catalogue/messages/*.rc).

check-messages.py and pe32_expected.py both import this one table, so that the resource file
and the DLL are checked for the same languages.
"""

# Windows' language id of each, and the code the messages name it by.
LANGUAGES = {
    1033: "en",
    1031: "de",
    1034: "es",
    1035: "fi",
    1036: "fr",
    1040: "it",
    1043: "nl",
    1044: "no",
    1046: "pt",
    1053: "sv",
}
