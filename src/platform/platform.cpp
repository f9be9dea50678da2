#include "platform/prompter.h"
#include "platform/clock.h"
#include "platform/session.h"
