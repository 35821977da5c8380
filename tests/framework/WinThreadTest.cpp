// User-interface threads started by runtime class: initialisation on the new
// thread, its message loop until WM_QUIT, the exit code, self-deletion.
#include "framework/WinThread.h"

#include <gtest/gtest.h>

namespace {

// What the thread object did; a dynamically created object is made with its
// default constructor, so the test talks to it through here.
struct Record {
    BOOL initResult = TRUE;
    bool throwInInit = false;
    int exitCode = 0;
    DWORD initThread = 0;
    bool exitRan = false;
    bool deleted = false;
    UniqueHandle initialised{ ::CreateEventW(nullptr, TRUE, FALSE, nullptr) };
};
Record* g_record = nullptr;

class RecordingThread : public CWinThread {
    DECLARE_DYNCREATE(RecordingThread)

public:
    ~RecordingThread() override { g_record->deleted = true; }

    BOOL InitInstance() override
    {
        g_record->initThread = ::GetCurrentThreadId();
        // The queue exists from here on, so WM_QUIT can be posted to it.
        MSG msg;
        ::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE);
        ::SetEvent(g_record->initialised.Get());
        if (g_record->throwInInit)
            throw 1;
        return g_record->initResult;
    }

    int ExitInstance() override
    {
        g_record->exitRan = true;
        return g_record->exitCode;
    }
};

IMPLEMENT_DYNCREATE(RecordingThread, CWinThread)

class WinThreadTest : public ::testing::Test {
protected:
    void SetUp() override { g_record = &m_record; }
    void TearDown() override { g_record = nullptr; }

    // Starts the thread suspended and keeps a handle of it that outlives a
    // self-deleting object.
    CWinThread* Start(bool autoDelete = true)
    {
        CWinThread* thread = AfxBeginThread(RUNTIME_CLASS(RecordingThread), THREAD_PRIORITY_NORMAL, 0,
                                            CREATE_SUSPENDED);
        if (!thread)
            return nullptr;
        thread->m_bAutoDelete = autoDelete;
        HANDLE copy = nullptr;
        ::DuplicateHandle(::GetCurrentProcess(), thread->m_hThread.Get(), ::GetCurrentProcess(), &copy, SYNCHRONIZE | THREAD_QUERY_INFORMATION, FALSE, 0);
        m_handle.Reset(copy);
        m_threadId = thread->m_nThreadID;
        thread->ResumeThread();
        return thread;
    }

    DWORD WaitForExitCode()
    {
        ::WaitForSingleObject(m_handle.Get(), INFINITE);
        DWORD code = 0;
        ::GetExitCodeThread(m_handle.Get(), &code);
        return code;
    }

    Record m_record;
    UniqueHandle m_handle;
    DWORD m_threadId = 0;
};

TEST_F(WinThreadTest, RunsItsMessageLoopUntilQuitThenExitsWithExitInstancesCodeAndDeletesItself)
{
    m_record.exitCode = 7;
    ASSERT_NE(Start(), nullptr);
    ::WaitForSingleObject(m_record.initialised.Get(), INFINITE);
    EXPECT_EQ(m_record.initThread, m_threadId);
    EXPECT_NE(m_record.initThread, ::GetCurrentThreadId());
    EXPECT_FALSE(m_record.exitRan) << "the loop ended before WM_QUIT";

    ASSERT_TRUE(::PostThreadMessageW(m_threadId, WM_QUIT, 0, 0));
    EXPECT_EQ(WaitForExitCode(), 7u);
    EXPECT_TRUE(m_record.exitRan);
    EXPECT_TRUE(m_record.deleted);
}

TEST_F(WinThreadTest, FailedInitialisationSkipsTheLoop)
{
    m_record.initResult = FALSE;
    m_record.exitCode = 3;
    ASSERT_NE(Start(), nullptr);
    EXPECT_EQ(WaitForExitCode(), 3u);
    EXPECT_TRUE(m_record.exitRan);
    EXPECT_TRUE(m_record.deleted);
}

TEST_F(WinThreadTest, WithoutAutoDeletionTheObjectOutlivesItsThread)
{
    m_record.initResult = FALSE;
    CWinThread* thread = Start(false);
    ASSERT_NE(thread, nullptr);
    WaitForExitCode();
    EXPECT_FALSE(m_record.deleted);
    EXPECT_EQ(::WaitForSingleObject(thread->m_hThread.Get(), 0), WAIT_OBJECT_0) << "its own handle stays usable";
    delete thread;
    EXPECT_TRUE(m_record.deleted);
}

TEST_F(WinThreadTest, ExceptionStopsAtTheThreadEntry)
{
    m_record.throwInInit = true;
    ASSERT_NE(Start(), nullptr);
    EXPECT_EQ(WaitForExitCode(), static_cast<DWORD>(-1));
    EXPECT_FALSE(m_record.exitRan);
    EXPECT_TRUE(m_record.deleted);
}

TEST(WinThread, ClassThatCannotBeCreatedStartsNothing)
{
    EXPECT_EQ(AfxBeginThread(RUNTIME_CLASS(CWinThread)), nullptr);
}

}
