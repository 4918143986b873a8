#pragma once
// The common controls of the framework.
#include "ui/ImageList.h"
#include "ui/ListView.h"
#include "ui/StatusBar.h"
#include "ui/TreeView.h"
