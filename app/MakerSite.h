#pragma once
// The maker's web site: the link's text and hover text, and the help page's address.

constexpr const char kWebHost[] = "www.mirefold.com";
constexpr const char kWebHoverText[] = "Visit mirefold.com";
constexpr const char kHelpUrl[] = "http://www.mirefold.com/installqw.htm";
