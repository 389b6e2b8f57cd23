// One node of the tree of source folders and documents.
//
// A node owns the nodes in arChildren; deleting a node deletes its whole subtree. A file node
// never has children. New nodes are empty; whoever creates one sets its members.
#pragma once

#include "classlib/CArray.h"
#include "classlib/CString.h"
#include "classlib/WinTypes.h"

struct tagNode {
    CString strName;  // the name shown in the tree
    CString strPath;  // the full path of the file or folder
    BOOL bDir;        // 1 for a folder, 0 for a file
    CArray<tagNode*, tagNode*> arChildren;

    tagNode();
    ~tagNode();
    tagNode(const tagNode&) = delete;
    tagNode& operator=(const tagNode&) = delete;

    // Deletes every node below this one.
    void DeleteChildren();
    // TRUE for a file node, or when some node below this one is a file.
    BOOL HasFile() const;
    // Removes, below this node, every folder that has no file anywhere below it. The node itself
    // stays, even when nothing is left in it.
    void PruneEmptyDirs();
    // Orders the children of this node and of every folder below it: folders before files, each
    // kind by name with ASCII capitals folded to small letters.
    void SortChildren();
};
