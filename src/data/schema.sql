/*
 * Corvadel database: tables, keys, references, the unique-key procedure,
 * the audit and numbering triggers, privileges and the starting reference data.
 *
 * An isql script (dialect 3) without CREATE DATABASE: scripts/setup prepends
 * one for the built-in database, and the test fixture creates its own
 * database before running it. The database's default character set is UTF8.
 *
 * Choices made here and why:
 * - Long texts are binary blobs (sub-type 0): they hold the rich text exactly
 *   as the editors saved it (RTF), so no transliteration ever touches it. A
 *   person's notes are plain text and use a UTF8 text blob.
 * - Money is DOUBLE PRECISION and every money column may be NULL: an empty
 *   budget is not the same as a budget of 0.
 * - Flags are VARCHAR so "Yes", "No" and "No " read back exactly as written.
 * - Duplicates are refused by UNIQUE constraints (never bare unique indexes,
 *   which report a different error code than the client expects).
 *   Descriptions of products, issues, risks and change requests are unique
 *   within their project: two projects may well log the same one-line text.
 *   A person is unique by the composed PERSON_NAME, the only thing every pick
 *   list and sheet shows; two people with one name could not be told apart
 *   anywhere (a suffix tells them apart). Skills, roles and product types are
 *   unique by description, users by USER_NAME (the login finds both the row
 *   and the server account by it). A quality review is a duplicate when the
 *   same product is scheduled for review twice on the same day. A person
 *   reviews a given review once, under one role.
 * - References are foreign keys without cascades, so a referenced row
 *   cannot be deleted while something still refers to it. Records that name a
 *   responsible party refer to the role and to the person separately; nothing
 *   refers to an assignment of a person to a project role, which can therefore
 *   end or be removed without rewriting the history of the records that named
 *   that person.
 * - Issue and risk numbers count per project. When an insert brings no
 *   number, the next one comes from a counter row that is bumped in an
 *   autonomous transaction: it commits at once, so no client ever waits on
 *   another client's unfinished work, and numbers are never handed out twice
 *   (a rolled-back insert leaves a gap, as a generator would). A number typed
 *   by the user is accepted when it is free in the project and moves the
 *   counter past it; a number already taken is refused with a message that
 *   says so (the unique constraint backs this up against a concurrent insert).
 */

set sql dialect 3;

/* ------------------------------------------------------------------ */
/* Domains                                                            */
/* ------------------------------------------------------------------ */

create domain D_KEY as integer;
create domain D_MONEY as double precision;
create domain D_FLAG as varchar(3);
create domain D_RICH_TEXT as blob sub_type 0 segment size 16384;
create domain D_PLAIN_TEXT as blob sub_type text segment size 16384 character set UTF8;
create domain D_USER as varchar(40);

/* ------------------------------------------------------------------ */
/* Reference lists (no audit columns)                                 */
/* ------------------------------------------------------------------ */

create table SKILL (
  SKILL_ID               D_KEY not null,
  SKILL_DESCRIPTION      varchar(80) not null,
  SKILL_CATEGORY         varchar(40) not null,
  constraint PK_SKILL primary key (SKILL_ID),
  constraint UQ_SKILL_DESCRIPTION unique (SKILL_DESCRIPTION)
);

create table ROLES (
  ROLE_ID                D_KEY not null,
  ROLE_DESCRIPTION       varchar(80) not null,
  QA_ROLE                D_FLAG,
  MGT_ROLE               D_FLAG,
  BUS_ROLE               D_FLAG,
  IT_ROLE                D_FLAG,
  constraint PK_ROLES primary key (ROLE_ID),
  constraint UQ_ROLE_DESCRIPTION unique (ROLE_DESCRIPTION)
);

create table PRODUCT_TYPE (
  PRODUCT_TYPE_ID           D_KEY not null,
  PRODUCT_TYPE_DESCRIPTION  varchar(80) not null,
  REVIEW_TYPE               varchar(20) not null,
  constraint PK_PRODUCT_TYPE primary key (PRODUCT_TYPE_ID),
  constraint UQ_PRODUCT_TYPE_DESCRIPTION unique (PRODUCT_TYPE_DESCRIPTION)
);

/* ------------------------------------------------------------------ */
/* Projects and people                                                */
/* ------------------------------------------------------------------ */

create table PROJECT (
  PRJ_ID                 D_KEY not null,
  PRJ_REF                varchar(40),
  PRJ_NAME               varchar(80) not null,
  START_DATE             date not null,
  END_DATE               date,
  PRJ_STATUS             varchar(20) not null,
  PRJ_CAP_BUDGET         D_MONEY,
  PRJ_REV_BUDGET         D_MONEY,
  PRJ_CAP_SPEND_TO_DATE  D_MONEY,
  PRJ_REV_SPEND_TO_DATE  D_MONEY,
  CREATE_DATE date, CREATE_TIME time, CREATED_BY D_USER,
  UPDATE_DATE date, UPDATE_TIME time, UPDATED_BY D_USER,
  constraint PK_PROJECT primary key (PRJ_ID),
  constraint UQ_PROJECT_NAME unique (PRJ_NAME)
);

create table PERSONNEL (
  PERSONNEL_ID           D_KEY not null,
  PERSON_NAME            varchar(80),
  TITLE                  varchar(20) not null,
  FORENAME_FIRST         varchar(40) not null,
  FORENAME_SECOND        varchar(40),
  SURNAME                varchar(40) not null,
  INITIALS               varchar(3),
  NAME_SUFFIX            varchar(40),
  APPOINTMENT            varchar(80),
  DEPARTMENT             varchar(80),
  TEL_NBR                varchar(40),
  FAX_NBR                varchar(40),
  MOBILE_NBR             varchar(40),
  PAGER_NBR              varchar(40),
  EMAIL_ADDR             varchar(40),
  NOTES                  D_PLAIN_TEXT,
  CREATE_DATE date, CREATE_TIME time, CREATED_BY D_USER,
  UPDATE_DATE date, UPDATE_TIME time, UPDATED_BY D_USER,
  constraint PK_PERSONNEL primary key (PERSONNEL_ID),
  /* also serves the register's order by PERSON_NAME */
  constraint UQ_PERSON_NAME unique (PERSON_NAME)
);

create table PERSON_SKILL (
  PERSONNEL_ID           D_KEY not null,
  SKILL_ID               D_KEY not null,
  QUALIFICATION_DATE     date,
  CREATE_DATE date, CREATE_TIME time, CREATED_BY D_USER,
  UPDATE_DATE date, UPDATE_TIME time, UPDATED_BY D_USER,
  constraint PK_PERSON_SKILL primary key (PERSONNEL_ID, SKILL_ID),
  constraint FK_PERSON_SKILL_PERSON foreign key (PERSONNEL_ID) references PERSONNEL (PERSONNEL_ID),
  constraint FK_PERSON_SKILL_SKILL foreign key (SKILL_ID) references SKILL (SKILL_ID)
);

create table SYSTEM_USER (
  USER_ID                D_KEY not null,
  USER_NAME              varchar(80) not null,
  FORENAME_FIRST         varchar(40) not null,
  FORENAME_SECOND        varchar(40),
  SURNAME                varchar(40) not null,
  NBR_LOGINS             integer,
  LAST_LOGIN_DATE        date,
  SYSTEMS_MANAGER        D_FLAG,
  CREATE_DATE date, CREATE_TIME time, CREATED_BY D_USER,
  UPDATE_DATE date, UPDATE_TIME time, UPDATED_BY D_USER,
  constraint PK_SYSTEM_USER primary key (USER_ID),
  constraint UQ_SYSTEM_USER_NAME unique (USER_NAME)
);

/* ------------------------------------------------------------------ */
/* Project roles and the people in them                               */
/* ------------------------------------------------------------------ */

create table PROJECT_ROLE (
  PRJ_ID                 D_KEY not null,
  ROLE_ID                D_KEY not null,
  DAILY_RATE             D_MONEY not null,
  CREATE_DATE date, CREATE_TIME time, CREATED_BY D_USER,
  UPDATE_DATE date, UPDATE_TIME time, UPDATED_BY D_USER,
  constraint PK_PROJECT_ROLE primary key (PRJ_ID, ROLE_ID),
  constraint FK_PROJECT_ROLE_PROJECT foreign key (PRJ_ID) references PROJECT (PRJ_ID),
  constraint FK_PROJECT_ROLE_ROLE foreign key (ROLE_ID) references ROLES (ROLE_ID)
);

create table PROJECT_ROLE_PERSON (
  PRJ_ID                 D_KEY not null,
  ROLE_ID                D_KEY not null,
  PERSONNEL_ID           D_KEY not null,
  SCHEDULED_START_DATE   date,
  ACTUAL_START_DATE      date,
  END_DATE               date,
  CREATE_DATE date, CREATE_TIME time, CREATED_BY D_USER,
  UPDATE_DATE date, UPDATE_TIME time, UPDATED_BY D_USER,
  constraint PK_PROJECT_ROLE_PERSON primary key (PRJ_ID, ROLE_ID, PERSONNEL_ID),
  /* the project and the role are reached through the project role */
  constraint FK_PRP_PROJECT_ROLE foreign key (PRJ_ID, ROLE_ID) references PROJECT_ROLE (PRJ_ID, ROLE_ID),
  constraint FK_PRP_PERSON foreign key (PERSONNEL_ID) references PERSONNEL (PERSONNEL_ID)
);

/* ------------------------------------------------------------------ */
/* Products                                                           */
/* ------------------------------------------------------------------ */

create table PRODUCT (
  PRODUCT_ID             D_KEY not null,
  PRODUCT_DESCRIPTION    varchar(80) not null,
  PRODUCT_TYPE_ID        D_KEY not null,
  PRJ_ID                 D_KEY not null,
  ROLE_ID                D_KEY,
  OWNER_PERSONNEL_ID     D_KEY,
  LOCATION               varchar(80),
  CREATE_DATE date, CREATE_TIME time, CREATED_BY D_USER,
  UPDATE_DATE date, UPDATE_TIME time, UPDATED_BY D_USER,
  constraint PK_PRODUCT primary key (PRODUCT_ID),
  constraint UQ_PRODUCT_DESCRIPTION unique (PRJ_ID, PRODUCT_DESCRIPTION),
  constraint FK_PRODUCT_TYPE foreign key (PRODUCT_TYPE_ID) references PRODUCT_TYPE (PRODUCT_TYPE_ID),
  constraint FK_PRODUCT_PROJECT foreign key (PRJ_ID) references PROJECT (PRJ_ID),
  constraint FK_PRODUCT_ROLE foreign key (ROLE_ID) references ROLES (ROLE_ID),
  constraint FK_PRODUCT_OWNER foreign key (OWNER_PERSONNEL_ID) references PERSONNEL (PERSONNEL_ID)
);

/* ------------------------------------------------------------------ */
/* Issue and risk logs                                                */
/* ------------------------------------------------------------------ */

create table ISSUE (
  ISSUE_ID                    D_KEY not null,
  ISSUE_NBR                   integer,
  ISSUE_TYPE                  varchar(20) not null,
  ISSUE_DESCRIPTION           varchar(80) not null,
  ISSUE_DETAILED_DESCRIPTION  D_RICH_TEXT,
  DATE_RAISED                 date not null,
  PRJ_ID                      D_KEY not null,
  RAISED_BY_ROLE_ID           D_KEY not null,
  RAISED_BY_PERSONNEL_ID      D_KEY not null,
  OUTCOME                     D_RICH_TEXT,
  OWNER_ROLE_ID               D_KEY,
  OWNER_PERSONNEL_ID          D_KEY,
  ISSUE_STATUS                varchar(20) not null,
  CREATE_DATE date, CREATE_TIME time, CREATED_BY D_USER,
  UPDATE_DATE date, UPDATE_TIME time, UPDATED_BY D_USER,
  constraint PK_ISSUE primary key (ISSUE_ID),
  /* descending: the log is listed newest number first, straight off this index */
  constraint UQ_ISSUE_NBR unique (PRJ_ID, ISSUE_NBR) using descending index IX_ISSUE_PRJ_NBR,
  constraint UQ_ISSUE_DESCRIPTION unique (PRJ_ID, ISSUE_DESCRIPTION),
  constraint FK_ISSUE_PROJECT foreign key (PRJ_ID) references PROJECT (PRJ_ID),
  constraint FK_ISSUE_RAISED_ROLE foreign key (RAISED_BY_ROLE_ID) references ROLES (ROLE_ID),
  constraint FK_ISSUE_RAISED_PERSON foreign key (RAISED_BY_PERSONNEL_ID) references PERSONNEL (PERSONNEL_ID),
  constraint FK_ISSUE_OWNER_ROLE foreign key (OWNER_ROLE_ID) references ROLES (ROLE_ID),
  constraint FK_ISSUE_OWNER_PERSON foreign key (OWNER_PERSONNEL_ID) references PERSONNEL (PERSONNEL_ID)
);

create table RISK (
  RISK_ID                     D_KEY not null,
  RISK_NBR                    integer,
  RISK_DESCRIPTION            varchar(80) not null,
  RISK_DETAILED_DESCRIPTION   D_RICH_TEXT,
  DATE_RAISED                 date not null,
  PRJ_ID                      D_KEY not null,
  RAISED_BY_ROLE_ID           D_KEY not null,
  RAISED_BY_PERSONNEL_ID      D_KEY not null,
  LIKELIHOOD                  D_RICH_TEXT,
  IMPACT                      D_RICH_TEXT,
  COUNTERMEASURES             D_RICH_TEXT,
  OWNER_ROLE_ID               D_KEY,
  OWNER_PERSONNEL_ID          D_KEY,
  RISK_STATUS                 varchar(20) not null,
  CREATE_DATE date, CREATE_TIME time, CREATED_BY D_USER,
  UPDATE_DATE date, UPDATE_TIME time, UPDATED_BY D_USER,
  constraint PK_RISK primary key (RISK_ID),
  constraint UQ_RISK_NBR unique (PRJ_ID, RISK_NBR) using descending index IX_RISK_PRJ_NBR,
  constraint UQ_RISK_DESCRIPTION unique (PRJ_ID, RISK_DESCRIPTION),
  constraint FK_RISK_PROJECT foreign key (PRJ_ID) references PROJECT (PRJ_ID),
  constraint FK_RISK_RAISED_ROLE foreign key (RAISED_BY_ROLE_ID) references ROLES (ROLE_ID),
  constraint FK_RISK_RAISED_PERSON foreign key (RAISED_BY_PERSONNEL_ID) references PERSONNEL (PERSONNEL_ID),
  constraint FK_RISK_OWNER_ROLE foreign key (OWNER_ROLE_ID) references ROLES (ROLE_ID),
  constraint FK_RISK_OWNER_PERSON foreign key (OWNER_PERSONNEL_ID) references PERSONNEL (PERSONNEL_ID)
);

/* One row per project and log ('I' issues, 'R' risks): the last number handed
   out. Deliberately without a foreign key: it is written in autonomous
   transactions that must not wait on a project still being inserted. */
create table LOG_NUMBER (
  PRJ_ID                 D_KEY not null,
  LOG_KIND               char(1) not null,
  LAST_NBR               integer not null,
  constraint PK_LOG_NUMBER primary key (PRJ_ID, LOG_KIND)
);

/* ------------------------------------------------------------------ */
/* Change requests                                                    */
/* ------------------------------------------------------------------ */

create table CHANGE_REQUEST (
  CR_ID                       D_KEY not null,
  CR_DESCRIPTION              varchar(80) not null,
  CR_DETAILED_DESCRIPTION     D_RICH_TEXT,
  DATE_RAISED                 date not null,
  PRJ_ID                      D_KEY not null,
  RAISED_BY_ROLE_ID           D_KEY not null,
  RAISED_BY_PERSONNEL_ID      D_KEY not null,
  BENEFITS                    D_RICH_TEXT,
  RISKS_BY_NOT_CHANGING       D_RICH_TEXT,
  IMPACT_ON_PLAN              D_RICH_TEXT,
  EXCEPTION_DETAILS           D_RICH_TEXT,
  CM_MEETING_DATE             date,
  CM_MEETING_COMMENTS         D_RICH_TEXT,
  /* the longest entries of the action and status lists are 26 and 32 characters */
  AGREED_ACTION               varchar(40),
  ACTION_REASON               D_RICH_TEXT,
  PRIORITY                    varchar(20),
  CR_STATUS                   varchar(40),
  OWNER_ROLE_ID               D_KEY,
  OWNER_PERSONNEL_ID          D_KEY,
  CREATE_DATE date, CREATE_TIME time, CREATED_BY D_USER,
  UPDATE_DATE date, UPDATE_TIME time, UPDATED_BY D_USER,
  constraint PK_CHANGE_REQUEST primary key (CR_ID),
  constraint UQ_CR_DESCRIPTION unique (PRJ_ID, CR_DESCRIPTION),
  constraint FK_CR_PROJECT foreign key (PRJ_ID) references PROJECT (PRJ_ID),
  constraint FK_CR_RAISED_ROLE foreign key (RAISED_BY_ROLE_ID) references ROLES (ROLE_ID),
  constraint FK_CR_RAISED_PERSON foreign key (RAISED_BY_PERSONNEL_ID) references PERSONNEL (PERSONNEL_ID),
  constraint FK_CR_OWNER_ROLE foreign key (OWNER_ROLE_ID) references ROLES (ROLE_ID),
  constraint FK_CR_OWNER_PERSON foreign key (OWNER_PERSONNEL_ID) references PERSONNEL (PERSONNEL_ID)
);
/* the list of a project's requests, newest first */
create descending index IX_CR_PRJ_ID on CHANGE_REQUEST (PRJ_ID, CR_ID);

create table CHANGE_REQUEST_ISSUE (
  CR_ID                  D_KEY not null,
  ISSUE_ID               D_KEY not null,
  CREATE_DATE date, CREATE_TIME time, CREATED_BY D_USER,
  UPDATE_DATE date, UPDATE_TIME time, UPDATED_BY D_USER,
  constraint PK_CHANGE_REQUEST_ISSUE primary key (CR_ID, ISSUE_ID),
  constraint FK_CRI_CR foreign key (CR_ID) references CHANGE_REQUEST (CR_ID),
  constraint FK_CRI_ISSUE foreign key (ISSUE_ID) references ISSUE (ISSUE_ID)
);

create table CHANGE_REQUEST_PRODUCT (
  CR_ID                       D_KEY not null,
  PRODUCT_ID                  D_KEY not null,
  PRJ_ID                      D_KEY not null,
  IMPACT                      D_RICH_TEXT,
  COMPLETED_BY_ROLE_ID        D_KEY not null,
  COMPLETED_BY_PERSONNEL_ID   D_KEY not null,
  CREATE_DATE date, CREATE_TIME time, CREATED_BY D_USER,
  UPDATE_DATE date, UPDATE_TIME time, UPDATED_BY D_USER,
  constraint PK_CHANGE_REQUEST_PRODUCT primary key (CR_ID, PRODUCT_ID),
  constraint FK_CRP_CR foreign key (CR_ID) references CHANGE_REQUEST (CR_ID),
  constraint FK_CRP_PRODUCT foreign key (PRODUCT_ID) references PRODUCT (PRODUCT_ID),
  constraint FK_CRP_PROJECT foreign key (PRJ_ID) references PROJECT (PRJ_ID),
  constraint FK_CRP_ROLE foreign key (COMPLETED_BY_ROLE_ID) references ROLES (ROLE_ID),
  constraint FK_CRP_PERSON foreign key (COMPLETED_BY_PERSONNEL_ID) references PERSONNEL (PERSONNEL_ID)
);

create table CHANGE_REQUEST_RESOURCE (
  CR_ID                       D_KEY not null,
  ROLE_ID                     D_KEY not null,
  PRJ_ID                      D_KEY not null,
  RESOURCE_DAYS               integer not null,
  COMPLETED_BY_ROLE_ID        D_KEY not null,
  COMPLETED_BY_PERSONNEL_ID   D_KEY not null,
  CREATE_DATE date, CREATE_TIME time, CREATED_BY D_USER,
  UPDATE_DATE date, UPDATE_TIME time, UPDATED_BY D_USER,
  constraint PK_CHANGE_REQUEST_RESOURCE primary key (CR_ID, ROLE_ID),
  constraint FK_CRR_CR foreign key (CR_ID) references CHANGE_REQUEST (CR_ID),
  /* the project role whose daily rate prices the effort */
  constraint FK_CRR_PROJECT_ROLE foreign key (PRJ_ID, ROLE_ID) references PROJECT_ROLE (PRJ_ID, ROLE_ID),
  constraint FK_CRR_ROLE foreign key (COMPLETED_BY_ROLE_ID) references ROLES (ROLE_ID),
  constraint FK_CRR_PERSON foreign key (COMPLETED_BY_PERSONNEL_ID) references PERSONNEL (PERSONNEL_ID)
);

/* ------------------------------------------------------------------ */
/* Quality reviews                                                    */
/* ------------------------------------------------------------------ */

create table QUALITY_REVIEW (
  QR_ID                         D_KEY not null,
  PRJ_ID                        D_KEY not null,
  PRODUCT_ID                    D_KEY not null,
  SCHEDULED_REVIEW_DATE         date not null,
  FACILITATED_BY_ROLE_ID        D_KEY,
  FACILITATED_BY_PERSONNEL_ID   D_KEY,
  VERSION_FOR_REVIEW            varchar(20),
  ACTUAL_REVIEW_DATE            date,
  SIGNED_OFF_VERSION            varchar(20),
  SIGN_OFF_DATE                 date,
  MEETING_LOCATION              varchar(80),
  INVITATIONS_SENT_DATE         date,
  QR_STATUS                     varchar(20),
  OWNER_ROLE_ID                 D_KEY,
  OWNER_PERSONNEL_ID            D_KEY,
  NOTES                         D_RICH_TEXT,
  CREATE_DATE date, CREATE_TIME time, CREATED_BY D_USER,
  UPDATE_DATE date, UPDATE_TIME time, UPDATED_BY D_USER,
  constraint PK_QUALITY_REVIEW primary key (QR_ID),
  constraint UQ_QR_PRODUCT_DATE unique (PRODUCT_ID, SCHEDULED_REVIEW_DATE),
  constraint FK_QR_PROJECT foreign key (PRJ_ID) references PROJECT (PRJ_ID),
  constraint FK_QR_PRODUCT foreign key (PRODUCT_ID) references PRODUCT (PRODUCT_ID),
  constraint FK_QR_FAC_ROLE foreign key (FACILITATED_BY_ROLE_ID) references ROLES (ROLE_ID),
  constraint FK_QR_FAC_PERSON foreign key (FACILITATED_BY_PERSONNEL_ID) references PERSONNEL (PERSONNEL_ID),
  constraint FK_QR_OWNER_ROLE foreign key (OWNER_ROLE_ID) references ROLES (ROLE_ID),
  constraint FK_QR_OWNER_PERSON foreign key (OWNER_PERSONNEL_ID) references PERSONNEL (PERSONNEL_ID)
);
/* the list of a project's reviews, newest first */
create descending index IX_QR_PRJ_ID on QUALITY_REVIEW (PRJ_ID, QR_ID);

create table QUALITY_REVIEW_INVOLVEMENT (
  QR_ID                          D_KEY not null,
  PRJ_ID                         D_KEY not null,
  INVOLVEMENT_ROLE_ID            D_KEY not null,
  INVOLVEMENT_PERSONNEL_ID       D_KEY not null,
  ACCEPTED_INVITATION_DATE       date,
  REVIEW_COMMENTS_RECEIVED_DATE  date,
  ATTENDED_REVIEW                D_FLAG,
  NOTES                          D_RICH_TEXT,
  CREATE_DATE date, CREATE_TIME time, CREATED_BY D_USER,
  UPDATE_DATE date, UPDATE_TIME time, UPDATED_BY D_USER,
  constraint PK_QR_INVOLVEMENT primary key (QR_ID, PRJ_ID, INVOLVEMENT_ROLE_ID, INVOLVEMENT_PERSONNEL_ID),
  /* one invitation per person and review, whatever the role */
  constraint UQ_QR_REVIEWER unique (QR_ID, INVOLVEMENT_PERSONNEL_ID),
  constraint FK_QRI_QR foreign key (QR_ID) references QUALITY_REVIEW (QR_ID),
  constraint FK_QRI_PROJECT foreign key (PRJ_ID) references PROJECT (PRJ_ID),
  constraint FK_QRI_ROLE foreign key (INVOLVEMENT_ROLE_ID) references ROLES (ROLE_ID),
  constraint FK_QRI_PERSON foreign key (INVOLVEMENT_PERSONNEL_ID) references PERSONNEL (PERSONNEL_ID)
);

/* ------------------------------------------------------------------ */
/* Unique keys                                                        */
/* ------------------------------------------------------------------ */

/* Generators are outside transaction control: a value handed out is never
   handed out again, even when the transaction that fetched it rolls back. */
create sequence GEN_UNIQUE_ID start with 1000;

create exception E_LOG_NUMBER_TAKEN 'That number is already in use in this project';
create exception E_LOG_NUMBER_INVALID 'A number must be greater than 0';
create exception E_LOG_NUMBER_BUSY 'The next number could not be assigned, please try again';

set term ^ ;

create procedure PROC_FETCH_UNIQUE_ID
returns (UNIQUE_ID integer)
as
begin
  UNIQUE_ID = gen_id(GEN_UNIQUE_ID, 1);
end^

/* Hands out the next number of a project's log, or records that a typed
   number is in use so that later numbers go past it. Each attempt runs in an
   autonomous transaction that commits at once; two clients colliding on the
   counter row simply try again. */
create procedure PROC_LOG_NUMBER (PRJ_ID integer, LOG_KIND char(1), TYPED_NBR integer)
returns (NBR integer)
as
  declare attempts integer = 0;
  declare done smallint = 0;
begin
  while (done = 0) do
  begin
    attempts = attempts + 1;
    begin
      in autonomous transaction do
      begin
        update LOG_NUMBER
          set LAST_NBR = case when :TYPED_NBR is null then LAST_NBR + 1
                              else maxvalue(LAST_NBR, :TYPED_NBR) end
          where PRJ_ID = :PRJ_ID and LOG_KIND = :LOG_KIND
          returning LAST_NBR into :NBR;
        if (row_count = 0) then
        begin
          /* First number of this log: start after whatever the log already
             holds (rows carried over from elsewhere keep their numbers). */
          if (LOG_KIND = 'I') then
            select coalesce(max(ISSUE_NBR), 0) from ISSUE where PRJ_ID = :PRJ_ID into :NBR;
          else
            select coalesce(max(RISK_NBR), 0) from RISK where PRJ_ID = :PRJ_ID into :NBR;
          NBR = case when :TYPED_NBR is null then NBR + 1 else maxvalue(NBR, :TYPED_NBR) end;
          insert into LOG_NUMBER (PRJ_ID, LOG_KIND, LAST_NBR) values (:PRJ_ID, :LOG_KIND, :NBR);
        end
      end
      done = 1;
      when gdscode lock_conflict, gdscode update_conflict, gdscode deadlock,
           gdscode unique_key_violation do
      begin
        if (attempts >= 1000) then
          exception E_LOG_NUMBER_BUSY;
      end
    end
  end
  if (TYPED_NBR is not null) then
    NBR = TYPED_NBR;
end^

/* ------------------------------------------------------------------ */
/* Issue and risk numbers                                             */
/* ------------------------------------------------------------------ */

create trigger ISSUE_NUMBER for ISSUE
active before insert position 0
as
begin
  if (new.ISSUE_NBR is not null) then
  begin
    if (new.ISSUE_NBR <= 0) then
      exception E_LOG_NUMBER_INVALID;
    if (exists(select 1 from ISSUE where PRJ_ID = new.PRJ_ID and ISSUE_NBR = new.ISSUE_NBR)) then
      exception E_LOG_NUMBER_TAKEN 'Issue No.' || new.ISSUE_NBR || ' is already in use in this project';
  end
  execute procedure PROC_LOG_NUMBER(new.PRJ_ID, 'I', new.ISSUE_NBR) returning_values new.ISSUE_NBR;
end^

create trigger RISK_NUMBER for RISK
active before insert position 0
as
begin
  if (new.RISK_NBR is not null) then
  begin
    if (new.RISK_NBR <= 0) then
      exception E_LOG_NUMBER_INVALID;
    if (exists(select 1 from RISK where PRJ_ID = new.PRJ_ID and RISK_NBR = new.RISK_NBR)) then
      exception E_LOG_NUMBER_TAKEN 'Risk No.' || new.RISK_NBR || ' is already in use in this project';
  end
  execute procedure PROC_LOG_NUMBER(new.PRJ_ID, 'R', new.RISK_NBR) returning_values new.RISK_NBR;
end^

set term ; ^

/* The block below reads the catalogue: start a transaction that sees every
   table made so far. */
commit;

set term ^ ;

/* ------------------------------------------------------------------ */
/* Audit columns: set by the database whatever the statement sent.    */
/* An insert stamps the create columns and clears the update ones; an */
/* update keeps the create columns as they were and stamps the update */
/* columns. One trigger body serves every table that has the columns. */
/* ------------------------------------------------------------------ */

execute block as
  declare table_name varchar(63);
begin
  for select trim(r.RDB$RELATION_NAME) from RDB$RELATIONS r
      where coalesce(r.RDB$SYSTEM_FLAG, 0) = 0 and r.RDB$VIEW_BLR is null
        and exists (select 1 from RDB$RELATION_FIELDS f
                    where f.RDB$RELATION_NAME = r.RDB$RELATION_NAME and f.RDB$FIELD_NAME = 'CREATED_BY')
      order by 1
      into :table_name do
    execute statement
      'create trigger AU_' || table_name || ' for ' || table_name ||
      ' active before insert or update position 10 as
        begin
          if (inserting) then
          begin
            new.CREATE_DATE = current_date; new.CREATE_TIME = current_time; new.CREATED_BY = current_user;
            new.UPDATE_DATE = null; new.UPDATE_TIME = null; new.UPDATED_BY = null;
          end
          else
          begin
            new.CREATE_DATE = old.CREATE_DATE; new.CREATE_TIME = old.CREATE_TIME; new.CREATED_BY = old.CREATED_BY;
            new.UPDATE_DATE = current_date; new.UPDATE_TIME = current_time; new.UPDATED_BY = current_user;
          end
        end';
end^

set term ; ^

/* ------------------------------------------------------------------ */
/* Privileges: every server account may use the whole database; who   */
/* may administer users is the application's own systems-manager right.*/
/* ------------------------------------------------------------------ */

grant all on SKILL to public;
grant all on ROLES to public;
grant all on PRODUCT_TYPE to public;
grant all on PROJECT to public;
grant all on PERSONNEL to public;
grant all on PERSON_SKILL to public;
grant all on SYSTEM_USER to public;
grant all on PROJECT_ROLE to public;
grant all on PROJECT_ROLE_PERSON to public;
grant all on PRODUCT to public;
grant all on ISSUE to public;
grant all on RISK to public;
grant all on LOG_NUMBER to public;
grant all on CHANGE_REQUEST to public;
grant all on CHANGE_REQUEST_ISSUE to public;
grant all on CHANGE_REQUEST_PRODUCT to public;
grant all on CHANGE_REQUEST_RESOURCE to public;
grant all on QUALITY_REVIEW to public;
grant all on QUALITY_REVIEW_INVOLVEMENT to public;
grant execute on procedure PROC_FETCH_UNIQUE_ID to public;
grant execute on procedure PROC_LOG_NUMBER to public;
grant usage on sequence GEN_UNIQUE_ID to public;
grant usage on exception E_LOG_NUMBER_TAKEN to public;
grant usage on exception E_LOG_NUMBER_INVALID to public;
grant usage on exception E_LOG_NUMBER_BUSY to public;

commit;

/* ------------------------------------------------------------------ */
/* Starting reference data: what a project office would otherwise     */
/* type in by hand on the first day.                                  */
/* ------------------------------------------------------------------ */

insert into SKILL values (gen_id(GEN_UNIQUE_ID, 1), 'Linux', 'O/S');
insert into SKILL values (gen_id(GEN_UNIQUE_ID, 1), 'Windows Server', 'O/S');
insert into SKILL values (gen_id(GEN_UNIQUE_ID, 1), 'C++', 'Programming');
insert into SKILL values (gen_id(GEN_UNIQUE_ID, 1), 'Java', 'Programming');
insert into SKILL values (gen_id(GEN_UNIQUE_ID, 1), 'Python', 'Programming');
insert into SKILL values (gen_id(GEN_UNIQUE_ID, 1), 'SQL', 'RDBMS');
insert into SKILL values (gen_id(GEN_UNIQUE_ID, 1), 'Database Administration', 'RDBMS');
insert into SKILL values (gen_id(GEN_UNIQUE_ID, 1), 'Business Analysis', 'Analysis and Design');
insert into SKILL values (gen_id(GEN_UNIQUE_ID, 1), 'Data Modelling', 'Analysis and Design');
insert into SKILL values (gen_id(GEN_UNIQUE_ID, 1), 'Systems Design', 'Analysis and Design');
insert into SKILL values (gen_id(GEN_UNIQUE_ID, 1), 'TCP/IP Networking', 'Networking');
insert into SKILL values (gen_id(GEN_UNIQUE_ID, 1), 'Firewalls', 'Networking');
insert into SKILL values (gen_id(GEN_UNIQUE_ID, 1), 'Service Desk', 'IT Support');
insert into SKILL values (gen_id(GEN_UNIQUE_ID, 1), 'Desktop Support', 'IT Support');

/* ROLE_DESCRIPTION, QA_ROLE, MGT_ROLE, BUS_ROLE, IT_ROLE */
insert into ROLES values (gen_id(GEN_UNIQUE_ID, 1), 'Project Executive', 'No', 'Yes', 'Yes', 'No');
insert into ROLES values (gen_id(GEN_UNIQUE_ID, 1), 'Senior User', 'No', 'Yes', 'Yes', 'No');
insert into ROLES values (gen_id(GEN_UNIQUE_ID, 1), 'Senior Supplier', 'No', 'Yes', 'No', 'Yes');
insert into ROLES values (gen_id(GEN_UNIQUE_ID, 1), 'Project Manager', 'No', 'Yes', 'No', 'No');
insert into ROLES values (gen_id(GEN_UNIQUE_ID, 1), 'Team Manager', 'No', 'Yes', 'No', 'Yes');
insert into ROLES values (gen_id(GEN_UNIQUE_ID, 1), 'Project Assurance', 'Yes', 'No', 'Yes', 'No');
insert into ROLES values (gen_id(GEN_UNIQUE_ID, 1), 'Quality Reviewer', 'Yes', 'No', 'No', 'No');
insert into ROLES values (gen_id(GEN_UNIQUE_ID, 1), 'Project Support', 'No', 'No', 'No', 'No');
insert into ROLES values (gen_id(GEN_UNIQUE_ID, 1), 'Business Analyst', 'No', 'No', 'Yes', 'No');
insert into ROLES values (gen_id(GEN_UNIQUE_ID, 1), 'Developer', 'No', 'No', 'No', 'Yes');
insert into ROLES values (gen_id(GEN_UNIQUE_ID, 1), 'Tester', 'Yes', 'No', 'No', 'Yes');

insert into PRODUCT_TYPE values (gen_id(GEN_UNIQUE_ID, 1), 'Project Initiation Document', 'Formal');
insert into PRODUCT_TYPE values (gen_id(GEN_UNIQUE_ID, 1), 'Business Case', 'Formal');
insert into PRODUCT_TYPE values (gen_id(GEN_UNIQUE_ID, 1), 'Requirements Specification', 'Formal');
insert into PRODUCT_TYPE values (gen_id(GEN_UNIQUE_ID, 1), 'Design Document', 'Formal');
insert into PRODUCT_TYPE values (gen_id(GEN_UNIQUE_ID, 1), 'Test Plan', 'Informal');
insert into PRODUCT_TYPE values (gen_id(GEN_UNIQUE_ID, 1), 'Source Code', 'Cyclic');
insert into PRODUCT_TYPE values (gen_id(GEN_UNIQUE_ID, 1), 'User Guide', 'Informal');
insert into PRODUCT_TYPE values (gen_id(GEN_UNIQUE_ID, 1), 'Highlight Report', 'Informal');

commit;
