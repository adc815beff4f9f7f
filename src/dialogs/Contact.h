#pragma once
// The address users write to about the saver: the greeting, the monthly reminder and the About
// box all show it. Whoever distributes the saver puts their own address here, and only here.
// A plain #define so that the resource script can use it too.
#define ASCENDA_CONTACT_ADDRESS "ascenda@example.org"
