#pragma once
// Code pages of the program's text.
//
// Texts stored in documents and configuration are in the Mazovia code page (the DOS Polish
// code page: code page 437 with the 18 Polish letters in place of some accented letters).
// Files coming from Windows use Windows-1250, some imported files code page 852, and the
// screen uses UTF-8. Bytes below 128 are plain ASCII in all of them.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace kovra::store {

// Byte-for-byte conversions between Mazovia and Windows-1250, in place. Bytes below 128 stay;
// a byte whose character has no counterpart in the other code page becomes '?'.
void mazovia_to_1250(char* text, std::size_t length);
void cp1250_to_mazovia(char* text, std::size_t length);
void mazovia_to_1250(std::string& text);
void cp1250_to_mazovia(std::string& text);
uint8_t mazovia_to_1250(uint8_t c);
uint8_t cp1250_to_mazovia(uint8_t c);

// In place: the Polish letters of code page 852 become their Mazovia codes; other bytes stay.
void latin2_to_mazovia(char* text, std::size_t length);
void latin2_to_mazovia(std::string& text);

// True for the 18 Polish letters of Windows-1250 (ą ć ę ł ń ó ś ź ż and capitals).
bool is_polish_letter(uint8_t c);

// The Unicode character of a Mazovia byte (every byte has one).
char32_t mazovia_code_point(uint8_t c);

// Mazovia text for the screen, and screen text into Mazovia. Characters that Mazovia cannot
// hold, and bytes that are not valid UTF-8, become '?'.
std::string mazovia_to_utf8(std::string_view text);
std::string utf8_to_mazovia(std::string_view text);

} // namespace kovra::store
