// SPDX-License-Identifier: Apache-2.0
// The tracker library as the program sees it: the header the instrument's
// library ships. Program code includes only this file; the library behind it
// (the simulated one in tracker/sim/, or the maker's own) is linked in.
//
// Conventions of the library:
// - texts pass as char*, NUL-terminated, in the narrow code page;
// - every failure is thrown as a pointer to a heap object that the catcher
//   deletes;
// - events reach the listeners on threads of the library's own.
//
// The order of the virtual operations below is part of the library's binary
// interface: do not reorder, insert or remove any.
#ifndef KELM_TRACKER_TRACKER_H
#define KELM_TRACKER_TRACKER_H

#if defined(_WIN32)
#define TRACKER_API __declspec(dllimport)
#else
#define TRACKER_API __attribute__((visibility("default")))
#endif

class TRACKER_API TrackerException
{
public:
    TrackerException();
    virtual ~TrackerException();
};

// The instrument's firmware is too old for this library.
class TRACKER_API UserPromptException : public TrackerException
{
public:
    UserPromptException();
    ~UserPromptException() override;
};

// startAsync was called while the asynchronous messages already run.
class TRACKER_API AsyncAlreadyStartedException : public TrackerException
{
public:
    AsyncAlreadyStartedException();
    ~AsyncAlreadyStartedException() override;
};

// Frees a string that the library handed out (ApplicationEvent::getAppName).
TRACKER_API void trackerDeleteString(char* text);

// One text owned by the array it came in.
class TRACKER_API DriverStringPointer
{
public:
    virtual ~DriverStringPointer();
    virtual char* getStringData();

protected:
    DriverStringPointer();
};

// Result of availableApplications (elements are DriverStringPointer*) and of
// startedApplications (elements are char*). The receiver deletes the array;
// the elements belong to it.
class TRACKER_API TrkDrvObjectArray
{
public:
    virtual ~TrkDrvObjectArray();
    virtual int getCount();
    virtual void add(void* element); // used by the library only
    virtual void* getElement(int i);

protected:
    TrkDrvObjectArray();
};

class TRACKER_API BusyEvent
{
public:
    virtual ~BusyEvent();
    virtual bool getCommandState();
    virtual bool getMeasureState();

protected:
    BusyEvent();
};

class TRACKER_API ApplicationEvent
{
public:
    virtual ~ApplicationEvent();
    // A new string; the receiver frees it with trackerDeleteString.
    virtual char* getAppName();
    virtual bool isAppRunning();

protected:
    ApplicationEvent();
};

// Listener bases; the program derives from them and owns its objects. An
// event lives only for the duration of the call.
class TRACKER_API BusyListener
{
public:
    virtual ~BusyListener();
    virtual void onBusyEvent(BusyEvent* event) = 0;
};

class TRACKER_API ApplicationListener
{
public:
    virtual ~ApplicationListener();
    virtual void onApplicationEvent(ApplicationEvent* event) = 0;
};

// One connection to one instrument, created with new from a type string
// ("TrackerCorvo" or "TrackerLintel") and deleted through its virtual
// destructor, which also stops the library's threads for it.
class TRACKER_API Tracker
{
public:
    explicit Tracker(const char* trackerType);
    virtual ~Tracker();

    virtual void setBlocking(bool blocking);
    virtual void connect(char* address, char* user, char* password);
    virtual void disconnect();

    virtual void addBusyListener(BusyListener* listener);
    virtual void removeBusyListener(BusyListener* listener);
    virtual void addApplicationListener(ApplicationListener* listener);
    virtual void removeApplicationListener(ApplicationListener* listener);

    virtual TrkDrvObjectArray* availableApplications();
    virtual TrkDrvObjectArray* startedApplications();

    virtual void startApplicationFrame(char* name, char* arguments);
    virtual void modifyApplication(char* name, char* arguments);
    virtual void stopApplicationFrame(char* name);

    virtual void startAsync();
    virtual void stopAsync();

    Tracker(const Tracker&) = delete;
    Tracker& operator=(const Tracker&) = delete;

private:
    struct Impl;
    Impl* m_pImpl;
};

#endif
